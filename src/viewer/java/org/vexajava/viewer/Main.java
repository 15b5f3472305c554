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
        Thread guard = new Thread(() -> {
            try {
                Thread.sleep(3000);
            } catch (InterruptedException ignored) {
                // ending anyway
            }
            Runtime.getRuntime().halt(code);
        }, "viewer-exit-guard");
        guard.setDaemon(true);
        guard.start();
        System.exit(code);
    }

    /** Ends the process at once, for an applet that does not stop. */
    static void halt(int code) {
        Console.flush();
        Runtime.getRuntime().halt(code);
    }
}
