package org.vexajava.viewer;

import java.awt.EventQueue;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.FutureTask;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.TimeoutException;

/**
 * Ends the viewer when an applet keeps the window's event thread from returning (a paint() or a
 * listener that never ends): nothing in the window answers then, not even Escape or Close, and
 * the applet cannot be taken out of that thread.
 */
final class Watchdog {
    /** The window not answering this long means an applet holds it. */
    static final long SILENCE_LIMIT_MS = 10_000;
    /** How long the viewer's own work waits for the window. */
    static final long WAIT_LIMIT_MS = 5_000;
    private static final long LOOK_MS = 250;

    private static volatile Thread eventThread;
    private static volatile long lastAnswer = System.nanoTime();

    private Watchdog() {
    }

    /** Starts watching; call once the window exists. */
    static void start() {
        EventQueue.invokeLater(() -> eventThread = Thread.currentThread());
        Thread watch = new Thread(Watchdog::watch, "viewer-watchdog");
        watch.setDaemon(true);
        watch.start();
    }

    private static void watch() {
        while (true) {
            EventQueue.invokeLater(() -> lastAnswer = System.nanoTime());
            try {
                Thread.sleep(LOOK_MS);
            } catch (InterruptedException e) {
                return;
            }
            if (System.nanoTime() - lastAnswer > TimeUnit.MILLISECONDS.toNanos(SILENCE_LIMIT_MS)) {
                hung(SILENCE_LIMIT_MS);
            }
        }
    }

    /** Runs `action` on the event thread and waits for it, at most WAIT_LIMIT_MS. */
    static void onEventThread(Runnable action) {
        if (EventQueue.isDispatchThread()) {
            action.run();
            return;
        }
        FutureTask<Void> task = new FutureTask<>(action, null);
        EventQueue.invokeLater(task);
        try {
            task.get(WAIT_LIMIT_MS, TimeUnit.MILLISECONDS);
        } catch (TimeoutException e) {
            hung(WAIT_LIMIT_MS);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        } catch (ExecutionException e) {
            Console.tell("The viewer could not update its window: " + e.getCause() + ".");
        }
    }

    private static void hung(long ms) {
        String code = appletCodeOnEventThread();
        Console.tell((code == null ? "The viewer's window" : "The applet's \"" + code + "\"")
                + " has kept the window from answering for " + ms / 1000 + " s; the viewer has ended.");
        Main.halt(Main.EXIT_HUNG);
    }

    /** The applet method the event thread is in, as "Class.method()", if it is in one. */
    private static String appletCodeOnEventThread() {
        Thread thread = eventThread;
        if (thread == null) {
            return null;
        }
        for (StackTraceElement frame : thread.getStackTrace()) {
            if (AppletLoader.NAME.equals(frame.getClassLoaderName())) {
                return frame.getClassName() + "." + frame.getMethodName() + "()";
            }
        }
        return null;
    }
}
