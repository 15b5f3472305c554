import java.awt.Frame;
import java.awt.Graphics;
import java.awt.Label;

/** The yardstick for the applet viewer's start: a plain AWT window that ends at its first painting. */
public final class HelloWindow {
    private HelloWindow() {
    }

    public static void main(String[] args) {
        Frame frame = new Frame("Hello");
        frame.add(new Label("Hello, world") {
            private static final long serialVersionUID = 1L;

            @Override
            public void paint(Graphics g) {
                super.paint(g);
                System.out.println("painted");
                System.exit(0);
            }
        });
        frame.setSize(320, 200);
        frame.setVisible(true);
    }
}
