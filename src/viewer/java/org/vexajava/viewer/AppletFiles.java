package org.vexajava.viewer;

import java.net.MalformedURLException;
import java.net.URI;
import java.net.URISyntaxException;
import java.net.URL;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;

/** Where an applet's classes come from: its archives and its codebase folder, resolved against the page. */
final class AppletFiles {
    final URI codeBase;
    final List<URI> archives;

    private AppletFiles(URI codeBase, List<URI> archives) {
        this.codeBase = codeBase;
        this.archives = archives;
    }

    /** @throws IllegalArgumentException when the codebase or an archive is not a usable address */
    static AppletFiles resolve(URI page, AppletTag tag) {
        URI base = page.resolve(".");
        if (tag.codebase != null) {
            String folder = tag.codebase.endsWith("/") ? tag.codebase : tag.codebase + "/";
            base = base.resolve(reference(folder));
        }
        List<URI> jars = new ArrayList<>();
        for (String jar : tag.archives) {
            jars.add(base.resolve(reference(jar)));
        }
        AppletFiles files = new AppletFiles(base, List.copyOf(jars));
        files.classPath(); // every address must also be a URL
        return files;
    }

    // Pages write addresses, but old ones often hold folder names with spaces or backslashes.
    private static URI reference(String text) {
        try {
            return new URI(text.replace('\\', '/').replace(" ", "%20"));
        } catch (URISyntaxException e) {
            throw new IllegalArgumentException(e);
        }
    }

    /** Archives first, then the codebase folder: the order browsers searched them. */
    URL[] classPath() {
        List<URL> urls = new ArrayList<>();
        try {
            for (URI jar : archives) {
                urls.add(jar.toURL());
            }
            urls.add(codeBase.toURL());
        } catch (MalformedURLException e) {
            throw new IllegalArgumentException(e);
        }
        return urls.toArray(new URL[0]);
    }

    URL codeBaseUrl() {
        return classPath()[archives.size()];
    }

    /** Applets sharing codebase and archives share a class loader, so they can talk to each other. */
    String key() {
        return codeBase + " " + archives;
    }

    String missingClassMessage(AppletTag tag) {
        StringBuilder message = new StringBuilder("Cannot run the applet: \"" + tag.classFile()
                + "\" is not in the folder \"" + display(codeBase) + "\".");
        for (int i = 0; i < archives.size(); i++) {
            Path jar = localPath(archives.get(i));
            if (jar != null && !Files.isRegularFile(jar)) {
                message.append(" The archive \"").append(tag.archives.get(i)).append("\" is not there either.");
            }
        }
        return message.toString();
    }

    /** A folder or file as a user knows it: its path when it is local, else its address. */
    static String display(URI uri) {
        Path path = localPath(uri);
        return path != null ? path.toString() : uri.toString();
    }

    private static Path localPath(URI uri) {
        try {
            return "file".equalsIgnoreCase(uri.getScheme()) ? Path.of(uri) : null;
        } catch (IllegalArgumentException | java.nio.file.FileSystemNotFoundException e) {
            return null;
        }
    }
}
