import java.applet.Applet;
import java.awt.Color;
import java.awt.Graphics;

/** Paints #808080 and never returns from stop(), whatever interrupts it gets. */
public class HangingApplet extends Applet {
    private static final Color GREY = new Color(0x808080);

    public void init() {
        setBackground(GREY);
    }

    public void paint(Graphics g) {
        g.setColor(GREY);
        g.fillRect(0, 0, getSize().width, getSize().height);
    }

    public void stop() {
        while (true) {
            try {
                Thread.sleep(50);
            } catch (InterruptedException e) {
                // ignored on purpose
            }
        }
    }
}
