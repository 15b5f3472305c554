package org.vexajava.viewer;

import java.applet.Applet;
import java.awt.AWTError;
import java.awt.AWTEvent;
import java.awt.Component;
import java.awt.Container;
import java.awt.Dimension;
import java.awt.EventQueue;
import java.awt.GraphicsEnvironment;
import java.awt.HeadlessException;
import java.awt.Toolkit;
import java.awt.image.BufferedImage;
import java.io.BufferedReader;
import java.io.IOException;
import java.io.InputStreamReader;
import java.lang.reflect.InvocationTargetException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import java.util.Set;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.FutureTask;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.TimeoutException;
import java.util.concurrent.atomic.AtomicInteger;

/**
 * Runs one page: its window, its applets' life cycles and what the command line asked for.
 *
 * Page-wide operations (open, restart, reload, stop, start, close) run one at a time on a control
 * thread; it waits for stop() and destroy() with a time limit, which the event thread must never
 * do. The event thread only shows things and hands commands over.
 */
@SuppressWarnings("removal")
public final class Viewer implements PageContext.Host, Sandbox.Listener {
    private static final long STEP_LIMIT_MS = 2000;
    // Instances are all created before any init(), so getApplets() sees the whole page; one that
    // takes longer than this is simply not waited for.
    private static final long CREATE_WAIT_MS = 5000;
    // Screenshots and recordings must end in time whatever the applet does.
    private static final long START_LIMIT_S = 5;
    private static final long PAINT_WAIT_MS = 5000;
    private static final long PICTURE_LIMIT_S = 3;
    private static final long FINISH_LIMIT_MS = 1000;
    /** Raw frames a recording may write; a 320 x 200 applet takes 11.5 MB for 3 s at 15 frames a second. */
    private static final long MAX_RECORDING_BYTES = 512L << 20;
    private static final Set<String> CONTROL_COMMANDS = Set.of("reload", "restart", "stop", "start", "close");

    private final Options options;
    private final ExecutorService control = Executors.newSingleThreadExecutor(run -> daemon(run, "viewer-control"));
    private final CompletableFuture<Integer> finished = new CompletableFuture<>();
    private final CompletableFuture<Long> firstStarted = new CompletableFuture<>();
    private final CompletableFuture<Long> firstPainted = new CompletableFuture<>();
    private final AtomicInteger captureExit = new AtomicInteger(-1);
    private final Set<String> refusals = ConcurrentHashMap.newKeySet();
    private ViewerWindow window;
    private volatile PageContext page;
    private volatile Component paintWatch;
    private String pageProblem; // control thread only, as are the two below
    private boolean running;
    private boolean closing;
    private int picturesSaved; // event thread only

    private Viewer(Options options) {
        this.options = options;
    }

    /** Shows the page until it is closed; returns the exit code. */
    public static int run(Options options) {
        return new Viewer(options).execute();
    }

    private int execute() {
        if (!Sandbox.install(this) && !options.processSandbox) {
            Console.tell("This Java runtime (version " + System.getProperty("java.version") + ") has no security"
                    + " manager, so the viewer cannot keep applets away from your files on its own. Install"
                    + " bubblewrap (the package bubblewrap) for Vexa Java to run the viewer in a process sandbox,"
                    + " or use Java 17 (the package openjdk-17-jre).");
            return Main.EXIT_NO_SANDBOX;
        }
        Page first;
        try {
            first = Page.read(options.page);
        } catch (Page.Unreadable e) {
            Console.tell(e.getMessage());
            return Main.EXIT_FAILURE;
        }
        if (first.tags().isEmpty()) {
            Console.tell(noApplets(first));
            return Main.EXIT_FAILURE;
        }
        if (!outputFolderExists()) {
            return Main.EXIT_FAILURE;
        }
        int windowProblem = openWindow();
        if (windowProblem != Main.EXIT_OK) {
            return windowProblem;
        }
        Watchdog.start();
        if (options.control) {
            daemon(this::readCommands, "viewer-commands").start();
        }
        control.execute(() -> open(first));
        if (options.capturing()) {
            daemon(this::capture, "viewer-capture").start();
        }
        return finished.join();
    }

    private static String noApplets(Page page) {
        return "The page \"" + page.file() + "\" has no applet tag.";
    }

    // Checked first, so a wrong folder does not cost the wait for the applet.
    private boolean outputFolderExists() {
        Path file = options.screenshot != null ? options.screenshot : options.record;
        if (file == null) {
            return true;
        }
        Path folder = file.getParent();
        if (Files.isDirectory(file)) {
            Console.tell("Cannot write \"" + file + "\": it is a folder.");
        } else if (folder != null && !Files.isDirectory(folder)) {
            Console.tell("Cannot write \"" + file + "\": the folder \"" + folder + "\" does not exist.");
        } else {
            return true;
        }
        return false;
    }

    private int openWindow() {
        String name = options.page.getFileName().toString();
        String title = options.title == null ? name : options.title + " - " + name;
        if (GraphicsEnvironment.isHeadless()) {
            Console.tell("The viewer needs a desktop session, but no display is available.");
            return Main.EXIT_FAILURE;
        }
        try {
            Toolkit.getDefaultToolkit().addAWTEventListener(this::watchPaint, AWTEvent.PAINT_EVENT_MASK);
            EventQueue.invokeAndWait(() -> window = new ViewerWindow(title, options.beside, this::command,
                    () -> refused(Sandbox.callingLoader(), "change the viewer's window")));
            return Main.EXIT_OK;
        } catch (InvocationTargetException e) {
            return windowProblem(e.getCause());
        } catch (InterruptedException e) {
            return Main.EXIT_FAILURE;
        } catch (RuntimeException | Error e) {
            return windowProblem(e);
        }
    }

    private static int windowProblem(Throwable t) {
        if (t instanceof UnsatisfiedLinkError) {
            // A runtime for servers: the applet classes are there, the libraries to show them are not.
            Console.tell("This Java runtime (version " + System.getProperty("java.version")
                    + ") cannot show windows: its graphical libraries are missing."
                    + " Install the package openjdk-17-jre.");
            return Main.EXIT_NO_APPLETS;
        }
        if (t instanceof HeadlessException || t instanceof AWTError) {
            Console.tell("The viewer needs a desktop session, but the display cannot be opened ("
                    + (t.getMessage() == null ? t : t.getMessage()) + ").");
        } else {
            Console.tell("The viewer cannot open its window: " + t + ".");
        }
        return Main.EXIT_FAILURE;
    }

    // Commands: from the menu and the keyboard on the event thread, from standard input on its own
    // thread; all but "save" only hand work to the control thread.

    void command(String name) {
        switch (name) {
            case "reload" -> control.execute(this::reload);
            case "restart" -> control.execute(this::restart);
            case "stop" -> control.execute(this::stopApplets);
            case "start" -> control.execute(this::startApplets);
            case "close" -> control.execute(this::close);
            case "save" -> savePicture();
            default -> throw new IllegalArgumentException(name);
        }
    }

    /**
     * One command per line; the end of input means nothing, the window stays. Commands go to the
     * control thread directly, so that they are carried out even when an applet holds the window.
     */
    private void readCommands() {
        try (BufferedReader in = new BufferedReader(new InputStreamReader(System.in, StandardCharsets.UTF_8))) {
            for (String line = in.readLine(); line != null; line = in.readLine()) {
                String name = line.trim().toLowerCase(Locale.ROOT);
                if (CONTROL_COMMANDS.contains(name)) {
                    command(name);
                } else if (!name.isEmpty()) {
                    Console.tell("Unknown command \"" + line.trim()
                            + "\"; the viewer knows reload, restart, stop, start and close.");
                }
            }
        } catch (IOException e) {
            // no more commands
        }
    }

    // Page operations, on the control thread.

    private void open(Page loaded) {
        PageContext context = new PageContext(loaded, this);
        page = context;
        pageProblem = null;
        List<Component> areas = new ArrayList<>();
        context.slots().forEach(slot -> areas.add(slot.area));
        onEventThread(() -> window.show(areas));
        launch(context);
    }

    private void launch(PageContext context) {
        List<Future<?>> created = new ArrayList<>();
        context.slots().forEach(slot -> created.add(slot.create()));
        long deadline = System.nanoTime() + TimeUnit.MILLISECONDS.toNanos(CREATE_WAIT_MS);
        for (Future<?> instance : created) {
            try {
                instance.get(Math.max(0, deadline - System.nanoTime()), TimeUnit.NANOSECONDS);
            } catch (TimeoutException | ExecutionException e) {
                // that applet starts when its constructor is done
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
        }
        context.slots().forEach(AppletSlot::initAndStart);
        setRunning(true);
    }

    private void restart() {
        PageContext context = page;
        if (closing || context == null) {
            return;
        }
        stopAll(context);
        destroyAll(context);
        launch(context);
    }

    private void reload() {
        if (closing) {
            return;
        }
        PageContext old = page;
        if (old != null) {
            stopAll(old);
            destroyAll(old);
            old.dispose();
            page = null;
        }
        Page loaded;
        try {
            loaded = Page.read(options.page);
        } catch (Page.Unreadable e) {
            showPageProblem(e.getMessage());
            return;
        }
        if (loaded.tags().isEmpty()) {
            showPageProblem(noApplets(loaded));
            return;
        }
        open(loaded);
    }

    private void showPageProblem(String message) {
        pageProblem = message;
        Console.tell(message);
        Notice notice = new Notice(message);
        notice.setPreferredSize(new Dimension(400, 120));
        onEventThread(() -> {
            window.show(List.of(notice));
            notice.repaint();
        });
        window.status(message);
        setRunning(false);
    }

    private void stopApplets() {
        PageContext context = page;
        if (!closing && context != null && running) {
            stopAll(context);
            setRunning(false);
        }
    }

    private void startApplets() {
        PageContext context = page;
        if (!closing && context != null && !running) {
            context.slots().forEach(AppletSlot::start);
            setRunning(true);
        }
    }

    private void close() {
        if (closing) {
            return;
        }
        closing = true;
        if (options.capturing() && captureExit.get() < 0) {
            Console.tell("The viewer was closed before the applet's "
                    + (options.screenshot != null ? "picture was taken." : "recording was complete."));
        }
        try {
            PageContext context = page;
            if (context != null) {
                stopAll(context);
                destroyAll(context);
                context.dispose();
            }
            EventQueue.invokeLater(window::dispose);
        } finally {
            finished.complete(exitCode()); // whatever went wrong above, the process must end
        }
    }

    private void setRunning(boolean running) {
        this.running = running;
        EventQueue.invokeLater(() -> window.setRunning(running));
    }

    private void stopAll(PageContext context) {
        context.slots().forEach(slot -> awaitStep(slot, slot.stop()));
    }

    private void destroyAll(PageContext context) {
        context.slots().forEach(slot -> awaitStep(slot, slot.destroy()));
    }

    /** An applet that does not let go within the limit would keep the viewer forever: end the process. */
    private void awaitStep(AppletSlot slot, Future<?> step) {
        try {
            step.get(STEP_LIMIT_MS, TimeUnit.MILLISECONDS);
        } catch (TimeoutException e) {
            Console.tell(abandoned(slot));
            Main.halt(captureExit.get() >= 0 ? captureExit.get() : Main.EXIT_HUNG);
        } catch (ExecutionException e) {
            // the steps report their own failures
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
    }

    private int exitCode() {
        if (captureExit.get() >= 0) {
            return captureExit.get();
        }
        if (options.capturing() || pageProblem != null) {
            return Main.EXIT_FAILURE;
        }
        PageContext context = page;
        if (context != null && context.slots().stream().anyMatch(AppletSlot::missingClass)) {
            return Main.EXIT_MISSING_CLASS;
        }
        return Main.EXIT_OK;
    }

    private static String abandoned(AppletSlot slot) {
        return "The applet \"" + slot.tag.code + "\" did not return from " + slot.step() + " and was abandoned.";
    }

    /** Screenshot and recording end the run with this code, in time; the first decision counts. */
    private void finish(int code) {
        if (captureExit.compareAndSet(-1, code)) {
            daemon(() -> {
                sleepUntil(System.nanoTime() + millis(FINISH_LIMIT_MS));
                AppletSlot first = firstSlot();
                if (first != null && (first.step().equals("stop()") || first.step().equals("destroy()"))) {
                    Console.tell(abandoned(first));
                }
                Main.halt(code);
            }, "viewer-finish").start();
        }
        control.execute(this::close);
    }

    // What the applets tell the viewer.

    @Override
    public void shown(AppletSlot slot, Applet applet) {
        if (slot.index == 0) {
            paintWatch = applet;
            // Within the window only: a reload must not take the keyboard from the program.
            applet.requestFocusInWindow();
        }
    }

    @Override
    public void started(AppletSlot slot) {
        if (slot.index != 0) {
            return;
        }
        firstStarted.complete(System.nanoTime());
        // Started again after Stop, the applet is already visible: ask for the paint to report.
        Component watched = paintWatch;
        if (watched != null && watched == slot.applet()) {
            watched.repaint();
        }
    }

    @Override
    public void failed(AppletSlot slot, String message, int exitCode) {
        Console.tell(message);
        window.status(message);
        if (slot.index == 0) {
            firstStarted.completeExceptionally(new IllegalStateException(message));
        }
        if (options.capturing()) {
            finish(exitCode);
        }
    }

    @Override
    public void status(String text) {
        window.status(text);
    }

    private static String theApplet(AppletLoader loader) {
        return loader == null ? "The applet" : "The applet \"" + loader.label + "\"";
    }

    /** Each refusal is named once: an applet may try the same thing for every frame. */
    @Override
    public void refused(AppletLoader loader, String what) {
        String message = theApplet(loader) + " tried to " + what + ": not allowed.";
        if (refusals.add(message)) {
            Console.tell(message);
            window.status(message);
        }
    }

    @Override
    public void refusedDocument(String address) {
        refused(Sandbox.callingLoader(), "open \"" + address + "\" (only web addresses and pages beside this one open)");
    }

    /** System.exit in an applet ends that applet and nothing else. */
    @Override
    public void exitAttempted(AppletLoader loader, int status) {
        String message = theApplet(loader) + " called System.exit(" + status + "): only the applet has been ended.";
        Console.tell(message);
        window.status(message);
        control.execute(() -> {
            PageContext context = page;
            if (context == null || loader == null) {
                return;
            }
            for (AppletSlot slot : context.slots()) {
                if (slot.loader() == loader) {
                    awaitStep(slot, slot.stop());
                    awaitStep(slot, slot.destroy());
                    slot.showNotice(message);
                }
            }
        });
        if (options.capturing()) {
            finish(Main.EXIT_FAILURE);
        }
    }

    /** Reports the watched applet's first paint once the event that carried it has been handled. */
    private void watchPaint(AWTEvent event) {
        Component watched = paintWatch;
        if (watched == null || !(event.getSource() instanceof Component source)) {
            return;
        }
        if (source == watched || (watched instanceof Container c && c.isAncestorOf(source))) {
            paintWatch = null;
            EventQueue.invokeLater(() -> {
                firstPainted.complete(System.nanoTime());
                Console.event("painted");
            });
        }
    }

    // Pictures.

    private void savePicture() {
        AppletSlot first = firstSlot();
        if (first == null || first.applet() == null) {
            window.status("There is no applet to take a picture of.");
            return;
        }
        String simpleName = first.tag.className.substring(first.tag.className.lastIndexOf('.') + 1);
        // In a process sandbox the user's folders are out of reach: the picture goes to the folder
        // the program gave, which asks the user where to keep it.
        Path file = options.pictures != null ? options.pictures.resolve(simpleName + "-" + ++picturesSaved + ".png")
                : window.askPictureFile(simpleName + ".png");
        if (file == null) {
            return;
        }
        String message;
        try {
            Capture.writePng(Capture.picture(first.applet(), first.tag.width, first.tag.height), file);
            if (options.pictures != null) {
                Console.event("picture", file.toString());
                return;
            }
            message = "Saved the picture as \"" + file + "\".";
        } catch (IOException e) {
            message = "Cannot save the picture \"" + file + "\": " + Page.reason(e) + ".";
            Console.tell(message);
        } catch (RuntimeException e) {
            message = "The applet \"" + first.tag.code + "\" failed while painting its picture: " + e + ".";
            Console.tell(message);
        }
        window.status(message);
    }

    private AppletSlot firstSlot() {
        PageContext context = page;
        return context == null || context.slots().isEmpty() ? null : context.slots().get(0);
    }

    private static final class CaptureFailed extends Exception {
        private static final long serialVersionUID = 1L;

        CaptureFailed(String message) {
            super(message);
        }
    }

    /** Screenshot or recording of the first applet, then close; nothing may leave the run waiting. */
    private void capture() {
        try {
            captureFirstApplet();
        } catch (RuntimeException e) {
            Console.tell("The viewer failed while taking the applet's picture: " + e + ".");
            finish(Main.EXIT_FAILURE);
        }
    }

    private void captureFirstApplet() {
        long started;
        try {
            started = firstStarted.get(START_LIMIT_S, TimeUnit.SECONDS);
        } catch (TimeoutException e) {
            AppletSlot first = firstSlot();
            Console.tell("The applet \"" + (first == null ? "" : first.tag.code) + "\" did not finish "
                    + (first == null ? "starting" : first.step()) + " within " + START_LIMIT_S + " s.");
            finish(Main.EXIT_FAILURE);
            return;
        } catch (ExecutionException | InterruptedException e) {
            return; // the failure has been reported and ends the run
        }
        Path file = options.screenshot != null ? options.screenshot : options.record;
        try {
            if (options.screenshot != null) {
                sleepUntil(started + millis(options.afterMs == null ? Options.DEFAULT_AFTER_MS : options.afterMs));
                Capture.writePng(pictureOfFirst(), file);
            } else {
                record(started);
            }
            finish(Main.EXIT_OK);
        } catch (IOException e) {
            Console.tell("Cannot write \"" + file + "\": " + Page.reason(e) + ".");
            deleteQuietly(file);
            finish(Main.EXIT_FAILURE);
        } catch (CaptureFailed e) {
            Console.tell(e.getMessage());
            deleteQuietly(file);
            finish(Main.EXIT_FAILURE);
        }
    }

    /** Frame k is taken k/fps seconds after the first paint (or --after), whatever earlier frames cost. */
    private void record(long started) throws IOException, CaptureFailed {
        long origin;
        if (options.afterMs != null) {
            origin = started + millis(options.afterMs);
        } else {
            try {
                origin = firstPainted.get(PAINT_WAIT_MS, TimeUnit.MILLISECONDS);
            } catch (TimeoutException | ExecutionException | InterruptedException e) {
                origin = System.nanoTime(); // an applet that never paints is recorded as it is
            }
        }
        AppletSlot first = firstSlot();
        if (first == null) {
            throw new CaptureFailed("The page has no applet to record any more.");
        }
        AppletTag tag = first.tag;
        int count = options.frameCount();
        long bytes = 4L * tag.width * tag.height * count;
        if (bytes > MAX_RECORDING_BYTES) {
            throw new CaptureFailed("Cannot record the applet \"" + tag.code + "\": " + count + " frames of "
                    + tag.width + " x " + tag.height + " pixels would take " + (bytes >> 20) + " MB, more than the "
                    + (MAX_RECORDING_BYTES >> 20) + " MB a recording may; make the applet smaller or the recording"
                    + " shorter.");
        }
        try (Capture.Recording recording = new Capture.Recording(options.record, tag.width, tag.height,
                options.fps, count)) {
            for (int k = 0; k < count; k++) {
                sleepUntil(origin + Math.round(k * 1e9 / options.fps));
                recording.add(pictureOfFirst());
            }
        }
    }

    private BufferedImage pictureOfFirst() throws CaptureFailed {
        AppletSlot slot = firstSlot();
        if (slot == null) {
            throw new CaptureFailed("The page has no applet to take a picture of any more.");
        }
        FutureTask<BufferedImage> task = new FutureTask<>(
                () -> Capture.picture(slot.applet(), slot.tag.width, slot.tag.height));
        EventQueue.invokeLater(task);
        try {
            return task.get(PICTURE_LIMIT_S, TimeUnit.SECONDS);
        } catch (ExecutionException e) {
            throw new CaptureFailed("The applet \"" + slot.tag.code + "\" failed while painting its picture: "
                    + e.getCause() + ".");
        } catch (TimeoutException e) {
            throw new CaptureFailed("The applet \"" + slot.tag.code + "\" did not paint its picture within "
                    + PICTURE_LIMIT_S + " s.");
        } catch (InterruptedException e) {
            throw new CaptureFailed("The picture of the applet \"" + slot.tag.code + "\" was interrupted.");
        }
    }

    private static long millis(long ms) {
        return TimeUnit.MILLISECONDS.toNanos(ms);
    }

    private static void sleepUntil(long nanoTime) {
        long wait;
        while ((wait = nanoTime - System.nanoTime()) > 0) {
            try {
                TimeUnit.NANOSECONDS.sleep(wait);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
                return;
            }
        }
    }

    private static void deleteQuietly(Path file) {
        try {
            Files.deleteIfExists(file);
        } catch (IOException e) {
            // what is left is incomplete, and the exit code says so
        }
    }

    /** Runs `action` on the AWT event thread and waits for it, never longer than the watchdog allows. */
    static void onEventThread(Runnable action) {
        Watchdog.onEventThread(action);
    }

    private static Thread daemon(Runnable run, String name) {
        Thread thread = new Thread(run, name);
        thread.setDaemon(true);
        return thread;
    }
}
