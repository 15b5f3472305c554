package org.vexajava.viewer;

import java.io.FileDescriptor;
import java.io.FileOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;

/**
 * The viewer's two channels. Events, one per line, go to the program that started the viewer:
 * on the channel it named with --events (opened before any applet runs, and out of the applets'
 * reach), else on standard output. Standard error carries messages meant for a person; applets
 * writing to System.out (old applets wrote to the browser's Java console) end up there too, so
 * they cannot break the event lines. The viewer's own messages are also "message" events.
 */
final class Console {
    /** Status texts an applet may send at once; after that, one a tenth of a second. */
    private static final int STATUS_BURST = 20;
    private static final long STATUS_GAP_NS = 100_000_000;

    private static PrintStream events = System.out;
    private static long statusCredit = STATUS_BURST;
    private static long statusRefilled = System.nanoTime();
    private static String pendingStatus;

    private Console() {
    }

    static void init() {
        events = new PrintStream(new FileOutputStream(FileDescriptor.out), false, StandardCharsets.UTF_8);
        PrintStream messages = new PrintStream(new FileOutputStream(FileDescriptor.err), true,
                StandardCharsets.UTF_8);
        System.setErr(messages);
        System.setOut(messages);
        Thread held = new Thread(Console::sendHeldStatus, "viewer-status");
        held.setDaemon(true);
        held.start();
    }

    /** Sends the events to `channel` from now on. */
    static synchronized void useChannel(Path channel) throws IOException {
        OutputStream out = Files.newOutputStream(channel, StandardOpenOption.WRITE, StandardOpenOption.APPEND);
        events = new PrintStream(out, false, StandardCharsets.UTF_8);
    }

    /**
     * An applet's status text as an event. An applet may set its status for every frame: past a
     * short burst only the latest text of each gap is sent, so the receiver is never flooded.
     */
    static void status(String text) {
        synchronized (Console.class) {
            long now = System.nanoTime();
            long gained = (now - statusRefilled) / STATUS_GAP_NS;
            if (gained > 0) {
                statusCredit = Math.min(STATUS_BURST, statusCredit + gained);
                statusRefilled += gained * STATUS_GAP_NS;
            }
            if (pendingStatus == null && statusCredit > 0) {
                statusCredit--;
                event("status", text);
                return;
            }
            pendingStatus = text;
            Console.class.notifyAll();
        }
    }

    /** Sends the latest held-back status text once a gap has passed. Started before any applet runs. */
    private static void sendHeldStatus() {
        while (true) {
            try {
                synchronized (Console.class) {
                    while (pendingStatus == null) {
                        Console.class.wait();
                    }
                }
                Thread.sleep(STATUS_GAP_NS / 1_000_000);
                synchronized (Console.class) {
                    event("status", pendingStatus);
                    pendingStatus = null;
                }
            } catch (InterruptedException e) {
                return;
            }
        }
    }

    /** Writes one event line: fields separated by tabs; the last field may hold tabs itself. */
    static synchronized void event(String... fields) {
        StringBuilder line = new StringBuilder();
        for (int i = 0; i < fields.length; i++) {
            String field = fields[i] == null ? "" : fields[i];
            boolean last = i == fields.length - 1;
            if (i > 0) {
                line.append('\t');
            }
            line.append(last ? field.replaceAll("[\r\n]", " ") : field.replaceAll("[\t\r\n]", " "));
        }
        events.print(line.append('\n'));
        events.flush();
    }

    /** A message for the user, one sentence: on standard error and as a "message" event. */
    static void tell(String message) {
        System.err.println(message);
        System.err.flush();
        event("message", message);
    }

    static synchronized void usage() {
        events.print(USAGE);
        events.flush();
    }

    static synchronized void flush() {
        events.flush();
        System.err.flush();
    }

    private static final String USAGE = String.join("\n",
            "Usage: java -jar vexajava-viewer.jar [OPTIONS] PAGE.html",
            "Shows the applets of a web page in a window of their own.",
            "",
            "  --title ID          show \"ID - \" before the page's file name in the window title",
            "  --beside X,Y,W,H    open the window beside this one (the program's), not over it",
            "  --control           read commands from standard input, one per line:",
            "                      reload, restart, stop, start, close",
            "  --screenshot FILE   save the first applet's area as a PNG picture, then close",
            "  --record FILE       record the first applet's area as RGBA frames, then close",
            "  --seconds S         length of the recording in seconds (default 3)",
            "  --fps N             frames per second of the recording (default 15)",
            "  --after MS          milliseconds after start() before the picture is taken",
            "                      (default 1000) or the recording begins (default: at the",
            "                      applet's first paint)",
            "  --events FILE       write the events to FILE (a pipe) instead of standard output",
            "  --pictures FOLDER   save pictures into FOLDER and announce them as events",
            "  --process-sandbox   the viewer runs in a process sandbox: a Java without a security",
            "                      manager may then run applets",
            "  --help              show this help",
            "",
            "Applets run in the sandbox browsers kept them in: they read only the files of their",
            "page's folder, and may not write files, use the network, start programs, end the",
            "viewer, use the clipboard or capture the screen.",
            "",
            "Events, one per line: \"painted\", \"status<TAB>text\", \"message<TAB>text\",",
            "\"document<TAB>target<TAB>address\", \"picture<TAB>file\".",
            "Exit codes: 0 done, 1 failure, 2 wrong usage, 3 this Java cannot host applets,",
            "5 an applet's class is missing, 6 this Java cannot keep applets in a sandbox,",
            "7 an applet stopped the window from answering.",
            "");
}
