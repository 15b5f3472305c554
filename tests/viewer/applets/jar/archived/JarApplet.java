import java.applet.Applet;
import java.awt.Color;
import java.awt.Graphics;

/**
 * The archive's JarApplet: fills its area with #00FF00. With archive="JarApplet.jar" it must win
 * over the loose class of the same name.
 */
public class JarApplet extends Applet {
    private static final Color FILL = new Color(0x00FF00);

    public void init() {
        setBackground(FILL);
    }

    public void paint(Graphics g) {
        g.setColor(FILL);
        g.fillRect(0, 0, getSize().width, getSize().height);
    }
}
