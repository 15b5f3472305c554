import java.applet.Applet;
import java.awt.Color;
import java.awt.Graphics;
import java.net.MalformedURLException;
import java.net.URL;
import java.util.Enumeration;

/**
 * Talks to its browser in start(): a status text naming the parameter "who" and the number of
 * applets on the page, and a request to open "next.html" next to the page in a new window.
 * Paints #0000FF.
 */
public class TalkingApplet extends Applet {
    private static final Color BLUE = new Color(0x0000FF);

    public void init() {
        setBackground(BLUE);
    }

    public void start() {
        int applets = 0;
        for (Enumeration<Applet> e = getAppletContext().getApplets(); e.hasMoreElements(); e.nextElement()) {
            applets++;
        }
        showStatus("Hello from " + getParameter("who") + ", " + applets + " applets on this page");
        try {
            getAppletContext().showDocument(new URL(getDocumentBase(), "next.html"), "_blank");
        } catch (MalformedURLException e) {
            showStatus("Cannot make the address of next.html: " + e.getMessage());
        }
    }

    public void paint(Graphics g) {
        g.setColor(BLUE);
        g.fillRect(0, 0, getSize().width, getSize().height);
    }
}
