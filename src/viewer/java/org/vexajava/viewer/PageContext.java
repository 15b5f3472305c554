package org.vexajava.viewer;

import java.applet.Applet;
import java.applet.AppletContext;
import java.applet.AudioClip;
import java.awt.Image;
import java.awt.Toolkit;
import java.io.IOException;
import java.io.InputStream;
import java.net.MalformedURLException;
import java.net.URL;
import java.net.URISyntaxException;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Collections;
import java.util.Enumeration;
import java.util.Iterator;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.concurrent.ConcurrentHashMap;

/**
 * One loading of a page: its applets, their class loaders and the context a browser gave them.
 * Reload makes a new one, so classes and pictures are read afresh.
 */
@SuppressWarnings("removal")
final class PageContext implements AppletContext {
    /** What the applets' requests turn into in the viewer. */
    interface Host extends AppletSlot.Listener {
        void status(String text);

        /** An applet asked for an address the viewer does not open. */
        void refusedDocument(String address);
    }

    private final Page page;
    private final Host host;
    private final List<AppletSlot> slots = new ArrayList<>();
    private final Map<String, AppletLoader> loaders = new LinkedHashMap<>();
    private final Map<String, Image> images = new ConcurrentHashMap<>();
    private final Map<String, InputStream> streams = Collections.synchronizedMap(new LinkedHashMap<>());

    PageContext(Page page, Host host) {
        this.page = page;
        this.host = host;
        for (AppletTag tag : page.tags()) {
            AppletFiles files = null;
            AppletLoader loader = null;
            String problem = null;
            if (tag.className == null) {
                problem = "Cannot run the applet: its tag has no \"code\" attribute.";
            } else {
                try {
                    AppletFiles found = AppletFiles.resolve(page.uri(), tag);
                    loader = loaders.computeIfAbsent(found.key(), key -> new AppletLoader(found.classPath(),
                            page.file().getParent(), tag.code));
                    files = found;
                } catch (AppletFiles.Refused e) {
                    problem = e.getMessage();
                } catch (IllegalArgumentException e) {
                    problem = "Cannot run the applet \"" + tag.code + "\": its codebase \"" + tag.codebase
                            + "\" or archive \"" + String.join(",", tag.archives) + "\" is not a usable address.";
                }
            }
            slots.add(new AppletSlot(slots.size(), tag, files, loader, problem, this, host));
        }
    }

    Page page() {
        return page;
    }

    List<AppletSlot> slots() {
        return slots;
    }

    URL documentBase() {
        try {
            return page.uri().toURL();
        } catch (MalformedURLException e) {
            throw new IllegalStateException(e); // a file's own URI is always a URL
        }
    }

    /** Releases the page's class loaders and ends its threads once its applets are destroyed. */
    void dispose() {
        slots.forEach(AppletSlot::dispose);
        for (AppletLoader loader : loaders.values()) {
            loader.endThreads();
            try {
                loader.close();
            } catch (IOException e) {
                // the files stay open until the process ends; nothing else depends on it
            }
        }
        images.clear();
        streams.clear();
    }

    @Override
    public AudioClip getAudioClip(URL url) {
        return SafeAudioClip.open(url);
    }

    // Pictures are kept per page loading, as browsers did, so applets asking again get the same image.
    @Override
    public Image getImage(URL url) {
        return url == null ? null
                : images.computeIfAbsent(url.toString(), key -> Toolkit.getDefaultToolkit().createImage(url));
    }

    @Override
    public Applet getApplet(String name) {
        for (AppletSlot slot : slots) {
            Applet applet = slot.applet();
            if (applet != null && slot.tag.name != null && slot.tag.name.equalsIgnoreCase(name)) {
                return applet;
            }
        }
        return null;
    }

    @Override
    public Enumeration<Applet> getApplets() {
        List<Applet> applets = new ArrayList<>();
        for (AppletSlot slot : slots) {
            Applet applet = slot.applet();
            if (applet != null) {
                applets.add(applet);
            }
        }
        return Collections.enumeration(applets);
    }

    @Override
    public void showDocument(URL url) {
        showDocument(url, null);
    }

    /**
     * Web addresses and pages in the page's own folder go to the browser; anything else (a file
     * elsewhere, a script address, text a browser would take for an option) never leaves the viewer.
     */
    @Override
    public void showDocument(URL url, String target) {
        if (url == null) {
            return;
        }
        String address = url.toString();
        if (!openable(url)) {
            host.refusedDocument(address);
            return;
        }
        Console.event("document", target == null || target.isBlank() ? "_self" : target, address);
        host.status("Open: " + address);
    }

    private boolean openable(URL url) {
        String scheme = url.getProtocol().toLowerCase(Locale.ROOT);
        if (scheme.equals("http") || scheme.equals("https")) {
            return !url.getHost().isEmpty();
        }
        if (!scheme.equals("file")) {
            return false;
        }
        try {
            Path file = Path.of(url.toURI()).normalize();
            return file.startsWith(page.file().getParent());
        } catch (URISyntaxException | IllegalArgumentException | java.nio.file.FileSystemNotFoundException e) {
            return false;
        }
    }

    @Override
    public void showStatus(String status) {
        String text = status == null ? "" : status;
        Console.status(text);
        host.status(text);
    }

    @Override
    public void setStream(String key, InputStream stream) {
        if (stream == null) {
            streams.remove(key);
        } else {
            streams.put(key, stream);
        }
    }

    @Override
    public InputStream getStream(String key) {
        return streams.get(key);
    }

    @Override
    public Iterator<String> getStreamKeys() {
        synchronized (streams) {
            return new ArrayList<>(streams.keySet()).iterator();
        }
    }
}
