import java.applet.Applet;
import java.awt.Color;
import java.awt.Component;
import java.awt.Frame;
import java.awt.Graphics;
import java.awt.Robot;
import java.awt.Toolkit;
import java.io.FileDescriptor;
import java.io.FileOutputStream;
import java.io.OutputStream;
import java.lang.reflect.Field;
import java.net.Socket;
import java.net.URL;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;

/**
 * What a careless download may do, chosen by the parameter "attack". "target" names the file the
 * file attacks aim at, "port" a local port to send stolen text to. Each attempt that gets through
 * says so as a status text starting with "DONE"; the test also looks for its traces.
 */
public class HostileApplet extends Applet {
    private static final Color RED = new Color(0xFF0000);
    private volatile boolean hangInPaint;

    interface Attempt {
        void run() throws Exception;
    }

    private void attempt(String what, Attempt attempt) {
        try {
            attempt.run();
            showStatus("DONE " + what);
        } catch (Throwable t) {
            // refused: the viewer says so
        }
    }

    public void init() {
        setBackground(RED);
        String attack = String.valueOf(getParameter("attack"));
        if (attack.equals("everything")) {
            everything(getParameter("target"), Integer.parseInt(getParameter("port")));
        } else if (attack.equals("exit")) {
            System.exit(3);
        } else if (attack.equals("veto-exit")) {
            attempt("veto", () -> System.setSecurityManager(new SecurityManager() {
                @Override
                public void checkExit(int status) {
                    throw new SecurityException("no exit");
                }

                @Override
                public void checkPermission(java.security.Permission permission) {
                }
            }));
            System.exit(4);
        } else if (attack.equals("loop-in-init")) {
            while (true) {
                spin();
            }
        } else if (attack.equals("hang-in-paint")) {
            hangInPaint = true;
        } else if (attack.equals("endless-thread")) {
            new Thread(HostileApplet::sleepForever).start();
        } else if (attack.equals("documents")) {
            for (String address : new String[] {"file:/etc/passwd", "javascript:alert(1)", "/etc/passwd",
                "--version", "http://example.com/ok.html"}) {
                try {
                    getAppletContext().showDocument(new URL(getDocumentBase(), address), "_blank");
                } catch (Exception e) {
                    // a malformed address is the applet's loss
                }
            }
        } else if (attack.equals("window")) {
            window();
        } else {
            showStatus("unknown attack");
        }
    }

    private void everything(String target, int port) {
        attempt("steal", () -> {
            byte[] key = Files.readAllBytes(Paths.get(target));
            try (Socket socket = new Socket("127.0.0.1", port)) {
                socket.getOutputStream().write(key);
            }
        });
        attempt("write", () -> Files.write(Paths.get(target + ".pwned"), "pwned".getBytes()));
        attempt("delete", () -> Files.delete(Paths.get(target)));
        attempt("exec", () -> Runtime.getRuntime().exec(new String[] {"sleep", "6001"}));
        attempt("environment", () -> System.getenv("HOME").length());
        attempt("property", () -> System.setProperty("user.home", "/tmp"));
        attempt("clipboard", () -> Toolkit.getDefaultToolkit().getSystemClipboard().getContents(null));
        attempt("screen", () -> new Robot().createScreenCapture(new java.awt.Rectangle(0, 0, 10, 10)));
        attempt("reflection", () -> {
            Field field = getAppletContext().getClass().getDeclaredFields()[0];
            field.setAccessible(true);
            field.get(getAppletContext());
        });
        attempt("forge", () -> {
            OutputStream out = new FileOutputStream(FileDescriptor.out);
            out.write("document\t_blank\thttp://forged.example/\n".getBytes());
            out.flush();
        });
        System.out.println("document\t_blank\thttp://forged.example/");
        attempt("threads", () -> {
            for (int i = 0; i < 10000; i++) {
                Thread thread = new Thread(HostileApplet::sleepForever);
                thread.setDaemon(true);
                thread.start();
            }
        });
        attempt("memory", () -> {
            List<long[]> hoard = new ArrayList<>();
            while (true) {
                hoard.add(new long[1 << 20]);
            }
        });
    }

    /** Disguises the viewer's window and opens a window of its own that asks for a password. */
    private void window() {
        Component parent = this;
        while (!(parent instanceof Frame)) {
            parent = parent.getParent();
        }
        Frame viewer = (Frame) parent;
        viewer.setTitle("Password required");
        viewer.setSize(34464, 34464);
        Frame phishing = new Frame("Sign in");
        phishing.setSize(200, 100);
        phishing.setVisible(true);
        try {
            Thread.sleep(500);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
        showStatus("TITLES " + viewer.getTitle() + " | " + phishing.getTitle() + " | " + (viewer.getWidth() < 34464));
    }

    private static void spin() {
        Math.sqrt(System.nanoTime());
    }

    private static void sleepForever() {
        while (true) {
            try {
                Thread.sleep(60_000);
            } catch (InterruptedException e) {
                // never stops on request
            }
        }
    }

    public void paint(Graphics g) {
        while (hangInPaint) {
            spin();
        }
        g.setColor(RED);
        g.fillRect(0, 0, getSize().width, getSize().height);
    }
}
