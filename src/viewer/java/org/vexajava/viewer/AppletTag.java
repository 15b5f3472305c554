package org.vexajava.viewer;

import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.TreeMap;

/** One applet tag of a page with its parameters. */
final class AppletTag {
    // A tag without a usable size gets this; percentages are taken of a 640 x 480 page.
    private static final int DEFAULT_SIZE = 100;
    private static final int PAGE_WIDTH = 640;
    private static final int PAGE_HEIGHT = 480;
    // Larger areas would only exhaust memory when pictures are taken.
    static final int MAX_SIZE = 4096;

    /** The code attribute as written, for messages; empty when there is none. */
    final String code;
    /** The class's binary name ("pkg.Name"), or null when the tag names none. */
    final String className;
    final String codebase;
    final List<String> archives;
    final int width;
    final int height;
    final String name;
    private final Map<String, String> parameters = new TreeMap<>(String.CASE_INSENSITIVE_ORDER);

    /**
     * The tag's own attributes count as parameters too (params win): old applets read their
     * size with getParameter("width"), which browsers answered from the tag.
     */
    AppletTag(Map<String, String> attributes, Map<String, String> params) {
        parameters.putAll(attributes);
        parameters.putAll(params);
        code = attributes.getOrDefault("code", "").trim();
        className = binaryName(code);
        String base = attributes.get("codebase");
        codebase = base == null || base.isBlank() ? null : base.trim();
        List<String> jars = new ArrayList<>();
        for (String jar : attributes.getOrDefault("archive", "").split(",")) {
            if (!jar.isBlank()) {
                jars.add(jar.trim());
            }
        }
        archives = Collections.unmodifiableList(jars);
        width = size(attributes.get("width"), PAGE_WIDTH);
        height = size(attributes.get("height"), PAGE_HEIGHT);
        String ownName = attributes.get("name");
        name = ownName != null ? ownName : params.get("name");
    }

    String parameter(String key) {
        return key == null ? null : parameters.get(key);
    }

    /** "Name", "Name.class", "pkg.Name" and "pkg/Name.class" all name the same class. */
    private static String binaryName(String code) {
        String name = code.replace('\\', '/');
        if (name.toLowerCase(Locale.ROOT).endsWith(".class")) {
            name = name.substring(0, name.length() - ".class".length());
        }
        name = name.replace('/', '.');
        return name.isEmpty() ? null : name;
    }

    /** Path of the class file below the codebase, for messages: "pkg/Name.class". */
    String classFile() {
        return className.replace('.', '/') + ".class";
    }

    private static int size(String value, int pageSize) {
        if (value == null) {
            return DEFAULT_SIZE;
        }
        String text = value.trim();
        int digits = 0;
        while (digits < text.length() && digits < 9 && Character.isDigit(text.charAt(digits))) {
            digits++;
        }
        if (digits == 0) {
            return DEFAULT_SIZE;
        }
        long size = Long.parseLong(text.substring(0, digits));
        if (text.startsWith("%", digits)) {
            size = size * pageSize / 100;
        }
        return (int) Math.max(1, Math.min(MAX_SIZE, size));
    }
}
