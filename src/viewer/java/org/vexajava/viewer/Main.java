package org.vexajava.viewer;

import java.lang.reflect.InvocationTargetException;

/**
 * Entry point. This class and the ones it uses directly (Options, Console) never touch the applet
 * interface, so that a Java runtime without it can still load them and say what is wrong instead
 * of failing with a linkage error.
 */
public final class Main {
    static final int EXIT_OK = 0;
    static final int EXIT_FAILURE = 1;
    static final int EXIT_USAGE = 2;
    static final int EXIT_NO_APPLETS = 3;
    static final int EXIT_MISSING_CLASS = 5;
    static final int EXIT_NO_SANDBOX = 6;
    static final int EXIT_HUNG = 7;

    private Main() {
    }

    public static void main(String[] args) {
        Console.init();
        Options options;
        try {
            options = Options.parse(args);
        } catch (Options.UsageException e) {
            Console.tell(e.getMessage());
            Console.tell("Run \"java -jar vexajava-viewer.jar --help\" to see the options.");
            exit(EXIT_USAGE);
            return;
        }
        if (options.help) {
            Console.usage();
            exit(EXIT_OK);
        }
        if (options.events != null) {
            try {
                Console.useChannel(options.events);
            } catch (java.io.IOException | RuntimeException e) {
                Console.tell("The viewer cannot write its events to \"" + options.events + "\": " + e + ".");
                exit(EXIT_FAILURE);
            }
        }
        if (!runtimeHasApplets()) {
            Console.tell("This Java runtime (version " + System.getProperty("java.version")
                    + ") cannot host applets: its applet interface has been removed."
                    + " Install the package openjdk-17-jre.");
            exit(EXIT_NO_APPLETS);
        }
        exit(runViewer(options));
    }

    private static boolean runtimeHasApplets() {
        try {
            Class.forName("java.applet.Applet", false, Main.class.getClassLoader());
            return true;
        } catch (ClassNotFoundException | LinkageError e) {
            return false;
        }
    }

    // The viewer is reached by name only: a direct reference would let the class verifier load
    // applet classes before the check above has run.
    private static int runViewer(Options options) {
        try {
            Object code = Class.forName("org.vexajava.viewer.Viewer")
                    .getMethod("run", Options.class).invoke(null, options);
            return (Integer) code;
        } catch (InvocationTargetException e) {
            Console.tell("The viewer stopped on an unexpected error: " + e.getCause() + ".");
        } catch (ReflectiveOperationException | LinkageError e) {
            Console.tell("The viewer is incomplete and cannot start: " + e + ".");
        }
        return EXIT_FAILURE;
    }

    /**
     * Ends the process. Applets may leave threads running that never end, so the process ends
     * explicitly; should an applet's shutdown work hang, the process is halted shortly after.
     */
    static void exit(int code) {
        Console.flush();
        haltAfter(3000, code);
        System.exit(code);
    }

    /** Ends the process at once, for an applet that does not stop. */
    static void halt(int code) {
        Console.flush();
        Runtime.getRuntime().halt(code);
    }

    /** Ends the process after `ms` whatever its threads are doing: for runs that must end in time. */
    static void haltAfter(long ms, int code) {
        Thread guard = new Thread(() -> {
            try {
                Thread.sleep(ms);
            } catch (InterruptedException ignored) {
                // ending now then
            }
            halt(code);
        }, "viewer-halt-guard");
        guard.setDaemon(true);
        guard.start();
    }
}
