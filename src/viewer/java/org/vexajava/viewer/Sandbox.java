package org.vexajava.viewer;

import java.awt.AWTPermission;
import java.io.FilePermission;
import java.lang.reflect.ReflectPermission;
import java.net.SocketPermission;
import java.security.AccessControlException;
import java.security.AccessController;
import java.security.Permission;
import java.security.Policy;
import java.security.PrivilegedAction;
import java.security.ProtectionDomain;
import java.security.Security;
import java.util.Optional;
import java.util.PropertyPermission;
import java.util.Set;

/**
 * The sandbox browsers kept unsigned applets in. Applet classes come from an {@link AppletLoader},
 * whose classes hold only what such an applet held: reading the page's folder and a few harmless
 * properties. Everything else (the viewer, the runtime) keeps every right. A refused action is
 * named once, through the listener, and the applet goes on with the exception.
 *
 * Runtimes from Java 24 on have no security manager; there the viewer runs only inside the
 * process sandbox the program puts around it.
 */
@SuppressWarnings("removal")
final class Sandbox extends SecurityManager {
    /** Where refusals go, each time they happen. Called with the viewer's own rights. */
    interface Listener {
        void refused(AppletLoader loader, String what);

        void exitAttempted(AppletLoader loader, int status);
    }

    /** More would only be an applet trying to exhaust the machine. */
    static final int MAX_THREADS = 100;
    private static final Permission TRUSTED = new RuntimePermission("vexajava.trusted");
    private static final StackWalker WALKER = StackWalker.getInstance(StackWalker.Option.RETAIN_CLASS_REFERENCE);
    // Asked by the runtime itself on an applet's behalf, and answered as it expects: opening a
    // window puts the warning on it, loading a picture looks at the thread groups above.
    // What applets do to threads themselves is named by the checks below.
    private static final Set<String> UNREPORTED = Set.of("showWindowWithoutWarningBanner", "modifyThread",
            "modifyThreadGroup");

    private final Listener listener;
    private final ThreadLocal<Boolean> reporting = ThreadLocal.withInitial(() -> false);

    private Sandbox(Listener listener) {
        this.listener = listener;
    }

    /** Installs the sandbox before any applet class loads; false when this runtime has none. */
    static boolean install(Listener listener) {
        try {
            Policy.setPolicy(new AppletPolicy());
            // Applets must not reach the viewer's classes, not even by name through reflection.
            String restricted = Security.getProperty("package.access");
            Security.setProperty("package.access", (restricted == null || restricted.isBlank() ? ""
                    : restricted + ",") + "org.vexajava.viewer.");
            // Once with every right: their first use makes classes (for the lambdas), which an
            // applet's call could not.
            callingLoader();
            calledByApplet();
            directCaller();
            describe(new FilePermission("/", "read"));
            System.setSecurityManager(new Sandbox(listener));
            return true;
        } catch (UnsupportedOperationException | SecurityException e) {
            return false;
        }
    }

    static boolean installed() {
        return System.getSecurityManager() instanceof Sandbox;
    }

    /** Runs viewer work that an applet's call led to with the viewer's own rights. */
    static <T> T privileged(PrivilegedAction<T> action) {
        return installed() ? AccessController.doPrivileged(action) : action.run();
    }

    @Override
    public void checkPermission(Permission permission) {
        try {
            super.checkPermission(permission);
        } catch (SecurityException e) {
            refuse(permission);
            throw e;
        }
    }

    @Override
    public void checkPermission(Permission permission, Object context) {
        try {
            super.checkPermission(permission, context);
        } catch (SecurityException e) {
            refuse(permission);
            throw e;
        }
    }

    /** System.exit in an applet ends that applet, never the viewer. */
    @Override
    public void checkExit(int status) {
        if (untrusted()) {
            AppletLoader loader = callingLoader();
            privileged(() -> {
                listener.exitAttempted(loader, status);
                return null;
            });
            throw new ExitRefused();
        }
    }

    /** What an applet's System.exit throws: it unwinds the applet, which the viewer then ends. */
    static final class ExitRefused extends AccessControlException {
        private static final long serialVersionUID = 1L;

        ExitRefused() {
            super("an applet may not end the viewer");
        }
    }

    /** Whether applet code called the caller, in any runtime: for what the viewer guards itself. */
    static boolean calledByApplet() {
        return privileged(() -> WALKER.walk(frames -> frames.anyMatch(frame ->
                frame.getDeclaringClass().getClassLoader() instanceof AppletLoader)));
    }

    /** Threads an applet makes belong to its own group, wherever the applet makes them. */
    @Override
    public ThreadGroup getThreadGroup() {
        if (untrusted()) {
            AppletLoader loader = callingLoader();
            if (loader != null) {
                return loader.threads;
            }
        }
        return super.getThreadGroup();
    }

    @Override
    public void checkAccess(ThreadGroup group) {
        super.checkAccess(group);
        if (!untrusted()) {
            return;
        }
        AppletLoader loader = callingLoader();
        if (loader != null && group == loader.threads && group.activeCount() >= MAX_THREADS) {
            refuse(loader, "run more than " + MAX_THREADS + " threads");
        }
        guardThreads(loader, group);
    }

    @Override
    public void checkAccess(Thread thread) {
        super.checkAccess(thread);
        if (thread != Thread.currentThread() && untrusted()) {
            guardThreads(callingLoader(), thread.getThreadGroup());
        }
    }

    /**
     * An applet may change its own threads only. The runtime itself, working for an applet,
     * touches others (its picture loaders start threads of their own): only applet code calling
     * a thread's methods directly is refused.
     */
    private void guardThreads(AppletLoader loader, ThreadGroup group) {
        boolean own = loader != null && group != null && loader.threads.parentOf(group);
        if (!own && directCaller().getClassLoader() instanceof AppletLoader) {
            refuse(loader, "change threads that are not its own");
        }
    }

    private static Class<?> directCaller() {
        return privileged(() -> WALKER.walk(frames -> frames
                .map(StackWalker.StackFrame::getDeclaringClass)
                .filter(type -> type != Sandbox.class && type != SecurityManager.class && type != Thread.class
                        && type != ThreadGroup.class)
                .findFirst()
                .orElse(Sandbox.class)));
    }

    private void refuse(AppletLoader loader, String what) {
        report(loader, what);
        throw new AccessControlException("an applet may not " + what);
    }

    private void refuse(Permission permission) {
        if (!UNREPORTED.contains(permission.getName()) && !reporting.get()) {
            reporting.set(true);
            try {
                report(callingLoader(), describe(permission));
            } finally {
                reporting.set(false);
            }
        }
    }

    /** Names a refusal; what the report itself is refused (it should be nothing) goes unsaid. */
    private void report(AppletLoader loader, String what) {
        boolean outer = !reporting.get();
        reporting.set(true);
        try {
            privileged(() -> {
                listener.refused(loader, what);
                return null;
            });
        } finally {
            if (outer) {
                reporting.remove();
            }
        }
    }

    /** Whether code without the viewer's rights is among the callers. */
    private static boolean untrusted() {
        try {
            AccessController.checkPermission(TRUSTED);
            return false;
        } catch (SecurityException e) {
            return true;
        }
    }

    /** The loader of the nearest applet code on the stack, else that of the thread's group. */
    static AppletLoader callingLoader() {
        // Asking a class for its loader is itself guarded: the viewer asks with its own rights.
        Optional<AppletLoader> onStack = privileged(() -> WALKER.walk(frames -> frames
                .map(frame -> frame.getDeclaringClass().getClassLoader())
                .filter(AppletLoader.class::isInstance)
                .map(AppletLoader.class::cast)
                .findFirst()));
        if (onStack.isPresent()) {
            return onStack.get();
        }
        ThreadGroup group = Thread.currentThread().getThreadGroup();
        return group instanceof AppletLoader.Threads threads ? threads.loader : null;
    }

    /** What a refused permission would have let the applet do, in words. */
    static String describe(Permission permission) {
        String name = permission.getName();
        String actions = permission.getActions();
        if (permission instanceof FilePermission) {
            if (actions.contains("execute")) {
                return "start programs";
            }
            return (actions.contains("write") ? "write" : actions.contains("delete") ? "delete" : "read")
                    + " \"" + name + "\"";
        }
        if (permission instanceof SocketPermission) {
            return actions.contains("resolve") && !actions.contains("connect") ? "look up the address of " + name
                    : actions.contains("listen") || actions.contains("accept") ? "accept connections on " + name
                    : "connect to " + name;
        }
        if (permission instanceof PropertyPermission) {
            return (actions.contains("write") ? "change" : "read") + " the system property \"" + name + "\"";
        }
        if (permission instanceof ReflectPermission) {
            return "reach into other classes by reflection";
        }
        if (permission instanceof AWTPermission) {
            return switch (name) {
                case "accessClipboard" -> "use the clipboard";
                case "createRobot", "readDisplayPixels" -> "capture the screen";
                case "listenToAllAWTEvents", "accessEventQueue" -> "watch the viewer's keys and mouse";
                default -> "use the desktop's \"" + name + "\"";
            };
        }
        if (permission instanceof RuntimePermission) {
            if (name.startsWith("getenv.")) {
                return "read the environment variable \"" + name.substring("getenv.".length()) + "\"";
            }
            if (name.startsWith("loadLibrary.")) {
                return "load the native library \"" + name.substring("loadLibrary.".length()) + "\"";
            }
            if (name.startsWith("accessClassInPackage.")) {
                return "use the runtime's internal package \""
                        + name.substring("accessClassInPackage.".length()) + "\"";
            }
            return switch (name) {
                case "setSecurityManager", "createSecurityManager" -> "replace the viewer's security manager";
                case "accessDeclaredMembers", "getProtectionDomain" -> "look into classes that are not its own";
                case "readFileDescriptor", "writeFileDescriptor", "setIO" -> "use the viewer's own input and output";
                case "createClassLoader", "getClassLoader", "setContextClassLoader" -> "load classes of its own making";
                case "stopThread" -> "change threads that are not its own";
                case "shutdownHooks" -> "run code when the viewer ends";
                default -> "use \"" + name + "\"";
            };
        }
        return "use \"" + name + (actions.isEmpty() ? "" : " " + actions) + "\"";
    }

    /** Applet classes hold only what their loader gave them; all other code holds everything. */
    private static final class AppletPolicy extends Policy {
        @Override
        public boolean implies(ProtectionDomain domain, Permission permission) {
            return !(domain.getClassLoader() instanceof AppletLoader);
        }
    }

}
