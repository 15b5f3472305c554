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

    /** Why an applet's code may not be loaded: it lies elsewhere than in the page's folder. */
    static final class Refused extends Exception {
        private static final long serialVersionUID = 1L;

        Refused(String message) {
            super(message);
        }
    }

    /**
     * Code runs only from the page's own folder and the folders below it, as files: a page found
     * somewhere must not make the viewer run code from elsewhere on the disk or from the network.
     *
     * @throws IllegalArgumentException when the codebase or an archive is not a usable address
     */
    static AppletFiles resolve(URI page, AppletTag tag) throws Refused {
        URI folder = page.resolve(".");
        URI base = folder;
        if (tag.codebase != null) {
            String codebase = tag.codebase.endsWith("/") ? tag.codebase : tag.codebase + "/";
            base = inside(folder, folder.resolve(reference(codebase)), tag, "code base \"" + tag.codebase + "\"");
        }
        List<URI> jars = new ArrayList<>();
        for (String jar : tag.archives) {
            jars.add(inside(folder, base.resolve(reference(jar)), tag, "archive \"" + jar + "\""));
        }
        AppletFiles files = new AppletFiles(base, List.copyOf(jars));
        files.classPath(); // every address must also be a URL
        return files;
    }

    private static URI inside(URI folder, URI address, AppletTag tag, String what) throws Refused {
        Path root = localPath(folder);
        Path path = localPath(address);
        if (root == null || path == null) {
            throw new Refused("Cannot run the applet \"" + tag.code + "\": its " + what
                    + " is not on this computer, and the viewer runs only code from the page's own folder.");
        }
        if (!path.normalize().startsWith(root.normalize()) || !realPathInside(root, path)) {
            throw new Refused("Cannot run the applet \"" + tag.code + "\": its " + what + " lies outside the page's folder \""
                    + root + "\", and the viewer runs only code from there.");
        }
        return address.normalize();
    }

    // A link inside the folder that leads out of it counts as outside.
    private static boolean realPathInside(Path root, Path path) {
        try {
            Path real = path;
            while (real != null && !Files.exists(real)) {
                real = real.getParent();
            }
            return real == null || real.toRealPath().startsWith(root.toRealPath());
        } catch (java.io.IOException e) {
            return true; // nothing readable there to load
        }
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
