import java.applet.Applet;
import java.awt.Color;
import java.awt.Graphics;

/** The loose JarApplet.class next to the archive: fills its area with #FF0000 and must lose. */
public class JarApplet extends Applet {
    private static final Color FILL = new Color(0xFF0000);

    public void init() {
        setBackground(FILL);
    }

    public void paint(Graphics g) {
        g.setColor(FILL);
        g.fillRect(0, 0, getSize().width, getSize().height);
    }
}
