package org.vexajava.viewer;

import java.io.IOException;
import java.net.URI;
import java.nio.charset.Charset;
import java.nio.charset.IllegalCharsetNameException;
import java.nio.charset.StandardCharsets;
import java.nio.charset.UnsupportedCharsetException;
import java.nio.file.AccessDeniedException;
import java.nio.file.Files;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;

/** A page as read from disk: where it is and its applet tags in page order. */
record Page(Path file, URI uri, List<AppletTag> tags) {
    // Pages the program writes are a few kilobytes; anything this large is not one of them.
    private static final long MAX_BYTES = 16L << 20;

    static final class Unreadable extends Exception {
        private static final long serialVersionUID = 1L;

        Unreadable(String message) {
            super(message);
        }
    }

    static Page read(Path file) throws Unreadable {
        byte[] bytes;
        try {
            if (Files.isDirectory(file)) {
                throw new Unreadable("Cannot read the page \"" + file + "\": it is a folder.");
            }
            if (Files.size(file) > MAX_BYTES) {
                throw new Unreadable("Cannot read the page \"" + file + "\": it is larger than 16 MB.");
            }
            bytes = Files.readAllBytes(file);
        } catch (IOException e) {
            throw new Unreadable("Cannot read the page \"" + file + "\": " + reason(e) + ".");
        }
        return new Page(file, file.toUri(), parse(new String(bytes, charsetOf(bytes, file))));
    }

    static List<AppletTag> parse(String html) {
        List<AppletTag> tags = new ArrayList<>();
        // An applet tag runs to its end tag, the next applet tag or the end of the page.
        var current = new Object() {
            Map<String, String> attributes;
            final Map<String, String> params = new LinkedHashMap<>();

            void finish() {
                if (attributes != null) {
                    tags.add(new AppletTag(attributes, params));
                }
                attributes = null;
                params.clear();
            }
        };
        TagScanner.scan(html, tag -> {
            switch (tag.name()) {
                case "applet" -> {
                    current.finish();
                    current.attributes = tag.attributes();
                }
                case "param" -> {
                    String name = tag.attributes().get("name");
                    if (current.attributes != null && name != null) {
                        current.params.putIfAbsent(name.toLowerCase(Locale.ROOT),
                                tag.attributes().getOrDefault("value", ""));
                    }
                }
                case "/applet" -> current.finish();
                default -> {
                }
            }
        });
        current.finish();
        return tags;
    }

    /**
     * The page's encoding: a byte-order mark, else a meta tag's charset (found by reading the page
     * as ISO-8859-1, which keeps every ASCII tag intact), else ISO-8859-1.
     */
    static Charset charsetOf(byte[] bytes, Path file) {
        boolean utf8Mark = bytes.length >= 3
                && (bytes[0] & 0xff) == 0xef && (bytes[1] & 0xff) == 0xbb && (bytes[2] & 0xff) == 0xbf;
        if (utf8Mark) {
            return StandardCharsets.UTF_8;
        }
        String[] named = new String[1];
        TagScanner.scan(new String(bytes, StandardCharsets.ISO_8859_1), tag -> {
            if (named[0] == null && tag.name().equals("meta")) {
                String charset = tag.attributes().get("charset");
                String content = tag.attributes().getOrDefault("content", "");
                int at = content.toLowerCase(Locale.ROOT).indexOf("charset=");
                if (charset == null && at >= 0) {
                    charset = content.substring(at + "charset=".length()).split("[;\\s]")[0];
                }
                if (charset != null && !charset.isBlank()) {
                    named[0] = charset.trim();
                }
            }
        });
        if (named[0] != null) {
            try {
                return Charset.forName(named[0]);
            } catch (IllegalCharsetNameException | UnsupportedCharsetException e) {
                Console.tell("The page \"" + file + "\" names the unknown character set \"" + named[0]
                        + "\"; it is read as ISO-8859-1.");
            }
        }
        return StandardCharsets.ISO_8859_1;
    }

    /** Why a file operation failed, in words. */
    static String reason(IOException e) {
        if (e instanceof NoSuchFileException) {
            return "there is no such file or folder";
        }
        if (e instanceof AccessDeniedException) {
            return "permission denied";
        }
        if (e instanceof java.nio.file.FileSystemException f && f.getReason() != null) {
            return f.getReason();
        }
        return e.getMessage() != null ? e.getMessage() : e.getClass().getSimpleName();
    }
}
