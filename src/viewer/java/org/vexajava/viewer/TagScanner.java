package org.vexajava.viewer;

import java.util.LinkedHashMap;
import java.util.Locale;
import java.util.Map;

/**
 * Finds the start and end tags of an HTML text with their attributes, as forgiving as browsers
 * were: names in any case, values quoted either way or not at all, comments skipped. One pass
 * over the text, so no page, however broken, takes long.
 */
final class TagScanner {
    /** A tag: its lower-case name ("/applet" for an end tag) and lower-case attribute names. */
    record Tag(String name, Map<String, String> attributes) {
    }

    interface Visitor {
        void tag(Tag tag);
    }

    private TagScanner() {
    }

    static void scan(String text, Visitor visitor) {
        int i = 0;
        int n = text.length();
        while (i < n) {
            int open = text.indexOf('<', i);
            if (open < 0) {
                return;
            }
            if (text.startsWith("<!--", open)) {
                int close = text.indexOf("-->", open + 4);
                i = close < 0 ? n : close + 3;
                continue;
            }
            i = readTag(text, open, visitor);
        }
    }

    /** Reads the tag at '<' and returns where scanning goes on. */
    private static int readTag(String text, int open, Visitor visitor) {
        int n = text.length();
        int i = open + 1;
        boolean end = i < n && text.charAt(i) == '/';
        if (end) {
            i++;
        }
        int nameStart = i;
        while (i < n && (Character.isLetterOrDigit(text.charAt(i)) || text.charAt(i) == '-' || text.charAt(i) == ':')) {
            i++;
        }
        if (i == nameStart || !Character.isLetter(text.charAt(nameStart))) {
            return open + 1; // a lone '<' in the text
        }
        String name = (end ? "/" : "") + text.substring(nameStart, i).toLowerCase(Locale.ROOT);
        Map<String, String> attributes = new LinkedHashMap<>();
        while (true) {
            while (i < n && (Character.isWhitespace(text.charAt(i)) || text.charAt(i) == '/')) {
                i++;
            }
            if (i >= n || text.charAt(i) == '>') {
                break;
            }
            int attrStart = i;
            while (i < n && !Character.isWhitespace(text.charAt(i)) && text.charAt(i) != '='
                    && text.charAt(i) != '>') {
                i++;
            }
            String attr = text.substring(attrStart, i).toLowerCase(Locale.ROOT);
            while (i < n && Character.isWhitespace(text.charAt(i))) {
                i++;
            }
            String value = "";
            if (i < n && text.charAt(i) == '=') {
                i++;
                while (i < n && Character.isWhitespace(text.charAt(i))) {
                    i++;
                }
                int valueStart;
                int valueEnd;
                if (i < n && (text.charAt(i) == '"' || text.charAt(i) == '\'')) {
                    int close = text.indexOf(text.charAt(i), i + 1);
                    valueStart = i + 1;
                    valueEnd = close < 0 ? n : close;
                    i = close < 0 ? n : close + 1;
                } else {
                    valueStart = i;
                    while (i < n && !Character.isWhitespace(text.charAt(i)) && text.charAt(i) != '>') {
                        i++;
                    }
                    valueEnd = i;
                }
                value = decodeEntities(text.substring(valueStart, valueEnd));
            }
            attributes.putIfAbsent(attr, value);
        }
        visitor.tag(new Tag(name, attributes));
        return Math.min(i + 1, n);
    }

    /** Decodes the character references pages use in attribute values; unknown ones stay as written. */
    static String decodeEntities(String value) {
        int amp = value.indexOf('&');
        if (amp < 0) {
            return value;
        }
        StringBuilder out = new StringBuilder(value.length());
        int i = 0;
        while (amp >= 0) {
            out.append(value, i, amp);
            int semi = value.indexOf(';', amp);
            String decoded = semi < 0 || semi - amp > 10 ? null : entity(value.substring(amp + 1, semi));
            if (decoded == null) {
                out.append('&');
                i = amp + 1;
            } else {
                out.append(decoded);
                i = semi + 1;
            }
            amp = value.indexOf('&', i);
        }
        return out.append(value, i, value.length()).toString();
    }

    private static String entity(String name) {
        switch (name.toLowerCase(Locale.ROOT)) {
            case "quot": return "\"";
            case "amp": return "&";
            case "lt": return "<";
            case "gt": return ">";
            case "apos": return "'";
            case "nbsp": return "\u00a0";
            default: break;
        }
        if (!name.startsWith("#") || name.length() < 2) {
            return null;
        }
        try {
            boolean hex = name.charAt(1) == 'x' || name.charAt(1) == 'X';
            int code = Integer.parseInt(name.substring(hex ? 2 : 1), hex ? 16 : 10);
            return Character.isValidCodePoint(code) && code != 0 ? new String(Character.toChars(code)) : null;
        } catch (NumberFormatException e) {
            return null;
        }
    }
}
