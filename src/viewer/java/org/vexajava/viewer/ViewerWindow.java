package org.vexajava.viewer;

import java.awt.AWTEvent;
import java.awt.BorderLayout;
import java.awt.Component;
import java.awt.Dialog;
import java.awt.Dimension;
import java.awt.FileDialog;
import java.awt.Frame;
import java.awt.GridBagConstraints;
import java.awt.GridBagLayout;
import java.awt.GraphicsEnvironment;
import java.awt.KeyEventDispatcher;
import java.awt.KeyboardFocusManager;
import java.awt.Label;
import java.awt.Menu;
import java.awt.MenuBar;
import java.awt.MenuItem;
import java.awt.MenuShortcut;
import java.awt.Panel;
import java.awt.Point;
import java.awt.Rectangle;
import java.awt.EventQueue;
import java.awt.Toolkit;
import java.awt.Window;
import java.awt.event.KeyEvent;
import java.awt.event.WindowAdapter;
import java.awt.event.WindowEvent;
import java.nio.file.Path;
import java.util.List;
import java.util.concurrent.atomic.AtomicReference;
import java.util.function.Consumer;

/**
 * The window: the page's applets one below the other, each at its tag's size, a status line under
 * them and the "Applet" menu. Plain AWT throughout: applets are AWT components, and AWT menus are
 * never hidden behind them. Used on the event thread only, except status().
 */
final class ViewerWindow {
    /** Narrow applets still get a window whose title, menu and status line can be read. */
    private static final int MIN_WIDTH = 360;
    static final String APPLET_WINDOW = "Applet window: ";

    private final Frame frame;
    private final Rectangle beside; // the program's window, which the viewer opens beside; or null
    private final Panel applets = new Panel(new GridBagLayout());
    private final Label status = new Label();
    private final MenuItem stopStart = new MenuItem("Stop");
    private final AtomicReference<String> pendingStatus = new AtomicReference<>();
    private final KeyEventDispatcher escape;
    private boolean running = true;

    /**
     * commands receives "restart", "reload", "stop", "start", "save" and "close"; refused is told
     * when an applet tries to change the window.
     */
    ViewerWindow(String title, Rectangle beside, Consumer<String> commands, Runnable refused) {
        this.beside = beside;
        frame = new GuardedFrame(title, refused);
        Toolkit.getDefaultToolkit().addAWTEventListener(this::markAppletWindow, AWTEvent.WINDOW_EVENT_MASK);
        frame.add(applets, BorderLayout.CENTER);
        frame.add(status, BorderLayout.SOUTH);
        Menu menu = new Menu("Applet");
        menu.add(item("Restart", KeyEvent.VK_T, () -> commands.accept("restart")));
        menu.add(item("Reload", KeyEvent.VK_R, () -> commands.accept("reload")));
        stopStart.addActionListener(e -> commands.accept(running ? "stop" : "start"));
        menu.add(stopStart);
        menu.add(item("Save picture...", KeyEvent.VK_S, () -> commands.accept("save")));
        menu.addSeparator();
        menu.add(item("Close", KeyEvent.VK_W, () -> commands.accept("close")));
        MenuBar bar = new MenuBar();
        bar.add(menu);
        frame.setMenuBar(bar);
        frame.addWindowListener(new WindowAdapter() {
            @Override
            public void windowClosing(WindowEvent e) {
                commands.accept("close");
            }
        });
        // Escape closes the viewer, whichever applet component has the focus; windows an applet
        // opened itself keep their keys.
        escape = e -> {
            if (e.getID() == KeyEvent.KEY_PRESSED && e.getKeyCode() == KeyEvent.VK_ESCAPE
                    && KeyboardFocusManager.getCurrentKeyboardFocusManager().getFocusedWindow() == frame) {
                commands.accept("close");
                return true;
            }
            return false;
        };
        KeyboardFocusManager.getCurrentKeyboardFocusManager().addKeyEventDispatcher(escape);
    }

    /**
     * Windows an applet opens say so in their title, whatever title the applet gives them, so that
     * none passes for a window of the desktop asking for a password.
     */
    private void markAppletWindow(AWTEvent event) {
        if (event.getID() != WindowEvent.WINDOW_OPENED || !(event.getSource() instanceof Window window)
                || window == frame || window.getOwner() == frame && window instanceof FileDialog) {
            return;
        }
        if (window instanceof Frame || window instanceof Dialog) {
            warnInTitle(window);
            window.addPropertyChangeListener("title", change -> warnInTitle(window));
        }
    }

    private static void warnInTitle(Window window) {
        String title = window instanceof Frame f ? f.getTitle() : ((Dialog) window).getTitle();
        if (title == null || !title.startsWith(APPLET_WINDOW)) {
            String marked = APPLET_WINDOW + (title == null ? "" : title);
            if (window instanceof Frame f) {
                f.setTitle(marked);
            } else {
                ((Dialog) window).setTitle(marked);
            }
        }
    }

    /** The viewer's own window: its title, size, place and state are the viewer's, not an applet's. */
    private static final class GuardedFrame extends Frame {
        private static final long serialVersionUID = 1L;
        private final transient Runnable refused;

        GuardedFrame(String title, Runnable refused) {
            super(title);
            this.refused = refused;
        }

        private boolean allowed() {
            if (refused != null && Sandbox.calledByApplet()) {
                refused.run();
                return false;
            }
            return true;
        }

        @Override
        public void setTitle(String title) {
            if (allowed()) {
                super.setTitle(title);
            }
        }

        @Override
        @SuppressWarnings("deprecation")
        public void reshape(int x, int y, int width, int height) {
            if (allowed()) {
                super.reshape(x, y, width, height);
            }
        }

        @Override
        public void setExtendedState(int state) {
            if (allowed()) {
                super.setExtendedState(state);
            }
        }

        @Override
        public void setVisible(boolean visible) {
            if (allowed()) {
                super.setVisible(visible);
            }
        }

        @Override
        public void dispose() {
            if (allowed()) {
                super.dispose();
            }
        }

        @Override
        public void setMenuBar(MenuBar bar) {
            if (allowed()) {
                super.setMenuBar(bar);
            }
        }
    }

    /** A menu item with its Ctrl key. */
    private static MenuItem item(String caption, int key, Runnable action) {
        MenuItem item = new MenuItem(caption, new MenuShortcut(key));
        item.addActionListener(e -> action.run());
        return item;
    }

    /** Shows these components in page order; the window takes their size and appears the first time. */
    void show(List<? extends Component> areas) {
        applets.removeAll();
        GridBagConstraints place = new GridBagConstraints();
        place.gridx = 0;
        place.anchor = GridBagConstraints.NORTHWEST;
        for (Component area : areas) {
            applets.add(area, place);
        }
        status.setText("");
        frame.pack();
        if (frame.getWidth() < MIN_WIDTH) {
            frame.setSize(MIN_WIDTH, frame.getHeight()); // the applets stay centred
        }
        if (!frame.isVisible()) {
            if (beside != null) {
                frame.setLocation(placeBeside(beside, frame.getSize(),
                        GraphicsEnvironment.getLocalGraphicsEnvironment().getMaximumWindowBounds()));
            } else {
                frame.setLocationByPlatform(true);
            }
            frame.setVisible(true);
        }
    }

    /**
     * Where a window of {@code size} stands beside {@code other} on {@code screen}: to its right, else to
     * its left (top edges level), else below or above it (left edges level); with no room anywhere, in
     * the screen's top right corner, away from the other window's menus and its buttons at the bottom.
     */
    static Point placeBeside(Rectangle other, Dimension size, Rectangle screen) {
        final int gap = 8;
        int right = screen.x + screen.width;
        int bottom = screen.y + screen.height;
        int y = Math.max(screen.y, Math.min(other.y, bottom - size.height));
        int x = Math.max(screen.x, Math.min(other.x, right - size.width));
        if (other.x + other.width + gap + size.width <= right) {
            return new Point(other.x + other.width + gap, y);
        }
        if (other.x - gap - size.width >= screen.x) {
            return new Point(other.x - gap - size.width, y);
        }
        if (other.y + other.height + gap + size.height <= bottom) {
            return new Point(x, other.y + other.height + gap);
        }
        if (other.y - gap - size.height >= screen.y) {
            return new Point(x, other.y - gap - size.height);
        }
        return new Point(Math.max(screen.x, right - size.width), screen.y);
    }

    /** Any thread. Applets may set their status for every frame; the line shows the latest. */
    void status(String text) {
        if (pendingStatus.getAndSet(text) == null) {
            EventQueue.invokeLater(() -> status.setText(pendingStatus.getAndSet(null)));
        }
    }

    void setRunning(boolean running) {
        this.running = running;
        stopStart.setLabel(running ? "Stop" : "Start");
    }

    /** Asks where to save a picture; null when the user cancels. */
    Path askPictureFile(String suggestedName) {
        FileDialog dialog = new FileDialog(frame, "Save picture", FileDialog.SAVE);
        dialog.setFile(suggestedName);
        dialog.setVisible(true);
        String name = dialog.getFile();
        String folder = dialog.getDirectory();
        dialog.dispose();
        if (name == null) {
            return null;
        }
        Path file = folder == null ? Path.of(name) : Path.of(folder, name);
        return file.getFileName().toString().toLowerCase(java.util.Locale.ROOT).endsWith(".png")
                ? file : file.resolveSibling(file.getFileName() + ".png");
    }

    void dispose() {
        KeyboardFocusManager.getCurrentKeyboardFocusManager().removeKeyEventDispatcher(escape);
        frame.dispose();
    }
}
