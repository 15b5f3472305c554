package org.vexajava.viewer;

import java.applet.Applet;
import java.applet.AppletContext;
import java.applet.AppletStub;
import java.awt.EventQueue;
import java.awt.Panel;
import java.lang.reflect.InvocationTargetException;
import java.net.URL;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;

/**
 * One applet's place on the page: the area it occupies in the window, the stub a browser gave it,
 * and the thread its life cycle runs on. Every step (create, init, start, stop, destroy) runs on
 * that thread, one after the other, never on the event thread: an applet that blocks in a step
 * must not freeze the window.
 */
@SuppressWarnings("removal")
final class AppletSlot implements AppletStub {
    /** What the viewer hears from a slot. */
    interface Listener {
        /** On the event thread, once the applet is visible and just before start(). */
        void shown(AppletSlot slot, Applet applet);

        /** On the applet thread, after start() returned. */
        void started(AppletSlot slot);

        /** The applet cannot run; exitCode is what this means for a screenshot or recording. */
        void failed(AppletSlot slot, String message, int exitCode);
    }

    final int index;
    final AppletTag tag;
    /** The applet's area in the window, exactly the tag's size. */
    final Panel area = new Panel(null);
    private final AppletFiles files;
    private final AppletLoader loader;
    private final String problem;
    private final PageContext context;
    private final Listener listener;
    private final ExecutorService thread;

    private volatile Applet applet;
    private volatile boolean active;
    private volatile boolean missingClass;
    /** The step the applet is in ("init()", "stop()"...) or the state it reached, for messages. */
    private volatile String step = "loading";
    private boolean initialised; // only touched on the applet thread

    /** files and loader are null when problem says why the applet cannot be loaded. */
    AppletSlot(int index, AppletTag tag, AppletFiles files, AppletLoader loader, String problem,
               PageContext context, Listener listener) {
        this.index = index;
        this.tag = tag;
        this.files = files;
        this.loader = loader;
        this.problem = problem;
        this.context = context;
        this.listener = listener;
        area.setPreferredSize(new java.awt.Dimension(tag.width, tag.height));
        area.setSize(tag.width, tag.height);
        // The applet's own steps run in its thread group, so that threads it starts are its own too.
        thread = Executors.newSingleThreadExecutor(run -> {
            Thread t = new Thread(loader == null ? null : loader.threads, run, "applet-" + tag.code);
            t.setDaemon(true);
            t.setContextClassLoader(loader);
            return t;
        });
    }

    Applet applet() {
        return applet;
    }

    boolean missingClass() {
        return missingClass;
    }

    String step() {
        return step;
    }

    AppletLoader loader() {
        return loader;
    }

    /** Loads the class and makes a new instance, hidden in the area until it is started. */
    Future<?> create() {
        return thread.submit(this::createNow);
    }

    void initAndStart() {
        thread.execute(() -> {
            initNow();
            startNow();
        });
    }

    void start() {
        thread.execute(this::startNow);
    }

    Future<?> stop() {
        return thread.submit(() -> {
            Applet a = applet;
            if (a == null || !active) {
                return;
            }
            active = false;
            step = "stop()";
            try {
                a.stop();
            } catch (Throwable t) {
                failStep("stop()", t);
            } finally {
                step = "stopped";
            }
        });
    }

    Future<?> destroy() {
        return thread.submit(() -> {
            Applet a = applet;
            if (a == null) {
                return;
            }
            if (initialised) {
                initialised = false;
                step = "destroy()";
                try {
                    a.destroy();
                } catch (Throwable t) {
                    failStep("destroy()", t);
                } finally {
                    step = "destroyed";
                }
            }
            applet = null;
            Viewer.onEventThread(() -> area.remove(a));
        });
    }

    /** Ends the applet thread once the queued steps are done. */
    void dispose() {
        thread.shutdown();
    }

    private void createNow() {
        applet = null;
        active = false;
        initialised = false;
        missingClass = false;
        if (problem != null) {
            fail(problem, Main.EXIT_FAILURE);
            return;
        }
        Class<?> type;
        step = "loading";
        try {
            type = Class.forName(tag.className, true, loader);
        } catch (ClassNotFoundException e) {
            missingClass = true;
            fail(files.missingClassMessage(tag), Main.EXIT_MISSING_CLASS);
            return;
        } catch (Throwable t) {
            failStep("loading", t);
            return;
        }
        if (!Applet.class.isAssignableFrom(type)) {
            fail("Cannot run the applet: the class \"" + tag.className + "\" is not an applet.", Main.EXIT_FAILURE);
            return;
        }
        Applet a;
        step = "its constructor";
        try {
            a = (Applet) type.getDeclaredConstructor().newInstance();
        } catch (InvocationTargetException e) {
            failStep("its constructor", e.getCause());
            return;
        } catch (Throwable t) {
            failStep("its constructor", t);
            return;
        }
        a.setStub(this);
        // In the window before init(): applets create off-screen images in init(), which needs a peer.
        Viewer.onEventThread(() -> {
            area.removeAll();
            a.setVisible(false);
            a.setBounds(0, 0, tag.width, tag.height);
            area.add(a);
            area.validate();
        });
        applet = a;
    }

    private void initNow() {
        Applet a = applet;
        if (a == null) {
            return;
        }
        step = "init()";
        try {
            a.init();
            initialised = true;
        } catch (Throwable t) {
            applet = null;
            failStep("init()", t);
        }
    }

    private void startNow() {
        Applet a = applet;
        if (a == null || !initialised || active) {
            return;
        }
        Viewer.onEventThread(() -> {
            a.setVisible(true);
            area.validate();
            listener.shown(this, a);
        });
        active = true;
        step = "start()";
        try {
            a.start();
        } catch (Throwable t) {
            active = false;
            failStep("start()", t);
            return;
        }
        listener.started(this);
    }

    private void failStep(String step, Throwable t) {
        if (t instanceof Sandbox.ExitRefused) {
            return; // the viewer ends the applet and says why
        }
        String what = String.valueOf(t);
        fail("The applet \"" + tag.code + "\" failed in " + step + ": " + what + (what.endsWith(".") ? "" : "."),
                Main.EXIT_FAILURE);
    }

    /** Shows why the applet does not run in its place, so the window is never silently blank. */
    private void fail(String message, int exitCode) {
        showNotice(message);
        listener.failed(this, message, exitCode);
    }

    void showNotice(String message) {
        Viewer.onEventThread(() -> {
            area.removeAll();
            Notice notice = new Notice(message);
            notice.setBounds(0, 0, tag.width, tag.height);
            area.add(notice);
            area.validate();
            notice.repaint();
        });
    }

    // The stub: what a browser told its applets.

    @Override
    public boolean isActive() {
        return active;
    }

    @Override
    public URL getDocumentBase() {
        return context.documentBase();
    }

    @Override
    public URL getCodeBase() {
        return files == null ? null : files.codeBaseUrl();
    }

    @Override
    public String getParameter(String name) {
        return tag.parameter(name);
    }

    @Override
    public AppletContext getAppletContext() {
        return context;
    }

    /** The page decides the area's size, as in a browser: an applet resizing itself is put back. */
    @Override
    public void appletResize(int width, int height) {
        EventQueue.invokeLater(() -> {
            Applet a = applet;
            if (a != null) {
                a.setBounds(0, 0, tag.width, tag.height);
            }
        });
    }
}
