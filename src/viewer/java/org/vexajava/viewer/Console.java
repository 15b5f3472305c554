package org.vexajava.viewer;

import java.io.FileDescriptor;
import java.io.FileOutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;

/**
 * The viewer's two channels. Standard output carries only events, one per line, for the program
 * that started the viewer; standard error carries messages meant for a person. Applets writing to
 * System.out (old applets wrote to the browser's Java console) end up on standard error so they
 * cannot break the event lines.
 */
final class Console {
    private static PrintStream events = System.out;

    private Console() {
    }

    static void init() {
        events = new PrintStream(new FileOutputStream(FileDescriptor.out), false, StandardCharsets.UTF_8);
        PrintStream messages = new PrintStream(new FileOutputStream(FileDescriptor.err), true,
                StandardCharsets.UTF_8);
        System.setErr(messages);
        System.setOut(messages);
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

    /** A message for the user, one sentence. */
    static void tell(String message) {
        System.err.println(message);
        System.err.flush();
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
            "  --control           read commands from standard input, one per line:",
            "                      reload, restart, stop, start, close",
            "  --screenshot FILE   save the first applet's area as a PNG picture, then close",
            "  --record FILE       record the first applet's area as RGBA frames, then close",
            "  --seconds S         length of the recording in seconds (default 3)",
            "  --fps N             frames per second of the recording (default 15)",
            "  --after MS          milliseconds after start() before the picture is taken",
            "                      (default 1000) or the recording begins (default: at the",
            "                      applet's first paint)",
            "  --help              show this help",
            "",
            "Standard output carries one event per line: \"painted\", \"status<TAB>text\",",
            "\"document<TAB>target<TAB>address\".",
            "Exit codes: 0 done, 1 failure, 2 wrong usage, 3 this Java cannot host applets,",
            "5 an applet's class is missing.",
            "");
}
