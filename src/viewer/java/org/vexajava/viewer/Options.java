package org.vexajava.viewer;

import java.nio.file.InvalidPathException;
import java.nio.file.Path;
import java.util.Arrays;

/** The command line, checked. Everything wrong with it is a usage error. */
final class Options {
    static final int DEFAULT_AFTER_MS = 1000;
    // Limits keep a mistyped number from asking for hours of waiting or gigabytes of frames.
    private static final int MAX_AFTER_MS = 600_000;
    private static final double MAX_SECONDS = 600;
    private static final int MAX_FPS = 100;

    boolean help;
    String title;
    boolean control;
    Path screenshot;
    Path record;
    Integer afterMs;
    double seconds = 3;
    int fps = 15;
    Path page;
    Path events;
    Path pictures;
    boolean processSandbox;
    /** The window the viewer opens beside (x, y, width, height on the screen), or null. */
    java.awt.Rectangle beside;

    static final class UsageException extends Exception {
        private static final long serialVersionUID = 1L;

        UsageException(String message) {
            super(message);
        }
    }

    boolean capturing() {
        return screenshot != null || record != null;
    }

    int frameCount() {
        return (int) Math.max(1, Math.round(seconds * fps));
    }

    static Options parse(String[] args) throws UsageException {
        Options o = new Options();
        if (Arrays.asList(args).contains("--help") || Arrays.asList(args).contains("-h")) {
            o.help = true;
            return o;
        }
        boolean lengthGiven = false;
        for (int i = 0; i < args.length; i++) {
            String arg = args[i];
            switch (arg) {
                case "--control" -> o.control = true;
                case "--process-sandbox" -> o.processSandbox = true;
                case "--events" -> o.events = path(value(args, ++i, arg), arg);
                case "--pictures" -> o.pictures = path(value(args, ++i, arg), arg);
                case "--title" -> o.title = value(args, ++i, arg);
                case "--beside" -> o.beside = rectangle(value(args, ++i, arg), arg);
                case "--screenshot" -> o.screenshot = path(value(args, ++i, arg), arg);
                case "--record" -> o.record = path(value(args, ++i, arg), arg);
                case "--after" -> o.afterMs = (int) number(value(args, ++i, arg), arg, 0, MAX_AFTER_MS, true);
                case "--seconds" -> {
                    o.seconds = number(value(args, ++i, arg), arg, 0, MAX_SECONDS, false);
                    lengthGiven = true;
                }
                case "--fps" -> {
                    o.fps = (int) number(value(args, ++i, arg), arg, 1, MAX_FPS, true);
                    lengthGiven = true;
                }
                default -> {
                    if (arg.startsWith("-") && arg.length() > 1) {
                        throw new UsageException("Unknown option \"" + arg + "\".");
                    }
                    if (o.page != null) {
                        throw new UsageException("The viewer shows one page; \"" + arg + "\" is one too many.");
                    }
                    o.page = path(arg, "PAGE");
                }
            }
        }
        if (o.page == null) {
            throw new UsageException("Name the page to show: java -jar vexajava-viewer.jar [OPTIONS] PAGE.html");
        }
        if (o.screenshot != null && o.record != null) {
            throw new UsageException("Use either --screenshot or --record, not both.");
        }
        if (lengthGiven && o.record == null) {
            throw new UsageException("--seconds and --fps only go with --record.");
        }
        if (o.afterMs != null && !o.capturing()) {
            throw new UsageException("--after only goes with --screenshot or --record.");
        }
        return o;
    }

    private static java.awt.Rectangle rectangle(String text, String option) throws UsageException {
        String[] parts = text.split(",");
        try {
            if (parts.length == 4) {
                int width = Integer.parseInt(parts[2].trim());
                int height = Integer.parseInt(parts[3].trim());
                if (width > 0 && height > 0) {
                    return new java.awt.Rectangle(Integer.parseInt(parts[0].trim()), Integer.parseInt(parts[1].trim()),
                            width, height);
                }
            }
        } catch (NumberFormatException e) {
            // said below
        }
        throw new UsageException("The option \"" + option + "\" needs X,Y,WIDTH,HEIGHT, not \"" + text + "\".");
    }

    private static String value(String[] args, int i, String option) throws UsageException {
        if (i >= args.length) {
            throw new UsageException("The option \"" + option + "\" needs a value.");
        }
        return args[i];
    }

    private static Path path(String text, String what) throws UsageException {
        try {
            if (text.isEmpty()) {
                throw new InvalidPathException(text, "empty");
            }
            return Path.of(text).toAbsolutePath().normalize();
        } catch (InvalidPathException e) {
            throw new UsageException("\"" + text + "\" given for " + what + " is not a usable file name.");
        }
    }

    /** Reads a number in [min, max]; min itself is allowed only for whole numbers. */
    private static double number(String text, String option, double min, double max, boolean whole)
            throws UsageException {
        String expected = whole ? "a whole number from " + (long) min + " to " + (long) max
                : "a number above " + (long) min + " and at most " + (long) max;
        try {
            double value = whole ? Long.parseLong(text.trim()) : Double.parseDouble(text.trim());
            boolean inRange = whole ? value >= min && value <= max : value > min && value <= max;
            if (inRange) {
                return value;
            }
        } catch (NumberFormatException e) {
            // reported below
        }
        throw new UsageException("The option \"" + option + "\" needs " + expected + ", not \"" + text + "\".");
    }
}
