import java.applet.Applet;
import java.awt.Color;
import java.awt.Graphics;
import java.awt.Image;
import java.awt.MediaTracker;

/**
 * Draws a known picture the way old animation applets did: its own thread draws into an
 * off-screen image every 40 ms and repaints; paint() and update() only copy that image.
 * Parameters: background, foreground ("#RRGGBB"), text (top left), picture (a file in the
 * codebase, drawn with its top-right corner at the applet's). A 20x20 square moves along the
 * bottom. Nothing is drawn on the middle row or below it except the square near the bottom, so
 * the centre pixel is always the background colour.
 */
public class PaintApplet extends Applet implements Runnable {
    private Color background;
    private Color foreground;
    private String text;
    private Image picture;
    private Image offscreen;
    private volatile Thread animator;
    private int frame;

    public void init() {
        background = colour(getParameter("background"), Color.black);
        foreground = colour(getParameter("foreground"), Color.white);
        text = getParameter("text");
        String name = getParameter("picture");
        if (name != null) {
            picture = getImage(getCodeBase(), name);
            MediaTracker tracker = new MediaTracker(this);
            tracker.addImage(picture, 0);
            try {
                tracker.waitForID(0, 5000);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
            if (tracker.isErrorID(0)) {
                picture = null;
            }
        }
        setBackground(background);
    }

    public void start() {
        animator = new Thread(this, "PaintApplet");
        animator.start();
    }

    public void stop() {
        Thread thread = animator;
        animator = null;
        if (thread != null) {
            thread.interrupt();
            try {
                thread.join(1000);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
        }
    }

    public void run() {
        while (animator == Thread.currentThread()) {
            draw();
            repaint();
            try {
                Thread.sleep(40);
            } catch (InterruptedException e) {
                return;
            }
            frame++;
        }
    }

    private synchronized void draw() {
        int w = getSize().width;
        int h = getSize().height;
        if (offscreen == null) {
            offscreen = createImage(w, h);
            if (offscreen == null) {
                return;
            }
        }
        Graphics g = offscreen.getGraphics();
        g.setColor(background);
        g.fillRect(0, 0, w, h);
        g.setColor(foreground);
        if (text != null) {
            g.drawString(text, 4, 2 + g.getFontMetrics().getAscent());
        }
        if (picture != null) {
            Graphics top = g.create(0, 0, w, h / 2);
            top.drawImage(picture, w - picture.getWidth(null), 0, null);
            top.dispose();
        }
        g.fillRect((frame * 4) % Math.max(1, w - 20), h - 24, 20, 20);
        g.dispose();
    }

    public void update(Graphics g) {
        paint(g);
    }

    public synchronized void paint(Graphics g) {
        if (offscreen != null) {
            g.drawImage(offscreen, 0, 0, null);
        } else {
            g.setColor(background);
            g.fillRect(0, 0, getSize().width, getSize().height);
        }
    }

    private static Color colour(String value, Color fallback) {
        if (value != null && value.length() == 7 && value.charAt(0) == '#') {
            try {
                return new Color(Integer.parseInt(value.substring(1), 16));
            } catch (NumberFormatException e) {
                return fallback;
            }
        }
        return fallback;
    }
}
