package org.vexajava.viewer;

import java.io.File;
import java.io.FilePermission;
import java.net.URL;
import java.net.URLClassLoader;
import java.nio.file.Path;
import java.security.CodeSource;
import java.security.PermissionCollection;
import java.security.Permissions;
import java.util.PropertyPermission;

/**
 * Loads the classes of applets that share a code base and archives, with what an unsigned applet
 * was given: reading the files of its page's folder (its classes, pictures and texts lie there)
 * and the properties that say which Java and system it runs on. Its threads live in a group of
 * their own, which ends with the page.
 */
final class AppletLoader extends URLClassLoader {
    /** The loaders' name, which stack traces show for applet code. */
    static final String NAME = "applets";
    /** The properties every applet could read. */
    private static final String[] READABLE_PROPERTIES = {"java.version", "java.vendor", "java.vendor.url",
        "java.class.version", "os.name", "os.version", "os.arch", "file.separator", "path.separator",
        "line.separator", "java.specification.version", "java.specification.vendor", "java.specification.name",
        "java.vm.specification.version", "java.vm.specification.vendor", "java.vm.specification.name",
        "java.vm.version", "java.vm.vendor", "java.vm.name"};

    /** The group an applet's threads belong to, knowing whose they are. */
    static final class Threads extends ThreadGroup {
        final AppletLoader loader;

        Threads(AppletLoader loader, String name) {
            super(name);
            this.loader = loader;
        }

        /** An applet's failure in a thread of its own ends that thread, quietly, as in a browser. */
        @Override
        public void uncaughtException(Thread thread, Throwable failure) {
            if (!(failure instanceof ThreadDeath)) {
                Console.tell("The applet \"" + loader.label + "\" failed in its thread \"" + thread.getName()
                        + "\": " + failure + ".");
            }
        }
    }

    /** The applet's code attribute, for messages. */
    final String label;
    final Threads threads;
    private final Path pageFolder;

    AppletLoader(URL[] classPath, Path pageFolder, String label) {
        super(NAME, classPath, ClassLoader.getPlatformClassLoader());
        this.label = label;
        this.pageFolder = pageFolder;
        this.threads = new Threads(this, "applet " + label);
    }

    @Override
    protected PermissionCollection getPermissions(CodeSource source) {
        Permissions granted = new Permissions();
        granted.add(new FilePermission(pageFolder.toString(), "read"));
        granted.add(new FilePermission(pageFolder + File.separator + "-", "read"));
        for (String property : READABLE_PROPERTIES) {
            granted.add(new PropertyPermission(property, "read"));
        }
        return granted;
    }

    /** Ends the threads the applet left running; those that ignore it end with the process. */
    @SuppressWarnings("removal")
    void endThreads() {
        threads.interrupt();
        try {
            threads.stop();
        } catch (UnsupportedOperationException e) {
            // runtimes from Java 20 on cannot stop a thread
        }
    }
}
