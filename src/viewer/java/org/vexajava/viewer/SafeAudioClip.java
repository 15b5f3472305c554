package org.vexajava.viewer;

import java.applet.Applet;
import java.applet.AudioClip;
import java.net.URL;

/**
 * A sound that never fails its applet: a missing file or a machine without sound makes it silent
 * instead of throwing into the applet's code.
 */
@SuppressWarnings("removal")
final class SafeAudioClip implements AudioClip {
    private final AudioClip clip;

    private SafeAudioClip(AudioClip clip) {
        this.clip = clip;
    }

    static AudioClip open(URL url) {
        try {
            return new SafeAudioClip(url == null ? null : Applet.newAudioClip(url));
        } catch (Throwable t) {
            return new SafeAudioClip(null);
        }
    }

    @Override
    public void play() {
        run(() -> clip.play());
    }

    @Override
    public void loop() {
        run(() -> clip.loop());
    }

    @Override
    public void stop() {
        run(() -> clip.stop());
    }

    private void run(Runnable action) {
        if (clip == null) {
            return;
        }
        try {
            action.run();
        } catch (Throwable t) {
            // no sound then
        }
    }
}
