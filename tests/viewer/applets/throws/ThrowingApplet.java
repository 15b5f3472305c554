import java.applet.Applet;

/** Fails in init(), so the viewer must show the failure instead of a blank area. */
public class ThrowingApplet extends Applet {
    public void init() {
        throw new IllegalStateException("init failed on purpose");
    }
}
