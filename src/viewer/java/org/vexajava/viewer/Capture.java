package org.vexajava.viewer;

import java.awt.Color;
import java.awt.Component;
import java.awt.Graphics2D;
import java.awt.image.BufferedImage;
import java.io.BufferedOutputStream;
import java.io.Closeable;
import java.io.IOException;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import javax.imageio.ImageIO;

/** Pictures of an applet's area, saved as PNG or as a sequence of raw frames. */
final class Capture {
    private Capture() {
    }

    /**
     * Paints the component into an image of exactly width x height. Must run on the event thread.
     * The applet paints itself into the image rather than the screen being read, so a covered or
     * off-screen window still gives the right picture; the peer clears to the background colour
     * first, as on screen.
     */
    static BufferedImage picture(Component component, int width, int height) {
        BufferedImage image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        Graphics2D g = image.createGraphics();
        try {
            Color background = component == null ? null : component.getBackground();
            g.setColor(background == null ? Color.WHITE : background);
            g.fillRect(0, 0, width, height);
            g.setClip(0, 0, width, height);
            if (component != null) {
                component.printAll(g);
            }
        } finally {
            g.dispose();
        }
        return image;
    }

    static void writePng(BufferedImage image, Path file) throws IOException {
        ImageIO.setUseCache(false);
        try (OutputStream out = Files.newOutputStream(file)) {
            if (!ImageIO.write(image, "png", out)) {
                throw new IOException("this Java runtime cannot write PNG pictures");
            }
        }
    }

    /** Frames as "VXFRAMES w h fps count\n" and then count frames of RGBA bytes, rows top to bottom. */
    static final class Recording implements Closeable {
        private final OutputStream out;
        private final int width;
        private final int height;
        private final byte[] frame;

        Recording(Path file, int width, int height, int fps, int count) throws IOException {
            this.out = new BufferedOutputStream(Files.newOutputStream(file), 1 << 16);
            this.width = width;
            this.height = height;
            this.frame = new byte[width * height * 4];
            String header = "VXFRAMES " + width + " " + height + " " + fps + " " + count + "\n";
            out.write(header.getBytes(StandardCharsets.US_ASCII));
        }

        void add(BufferedImage image) throws IOException {
            int[] row = new int[width];
            int at = 0;
            for (int y = 0; y < height; y++) {
                image.getRGB(0, y, width, 1, row, 0, width);
                for (int argb : row) {
                    frame[at++] = (byte) (argb >> 16);
                    frame[at++] = (byte) (argb >> 8);
                    frame[at++] = (byte) argb;
                    frame[at++] = (byte) 0xff;
                }
            }
            out.write(frame);
        }

        @Override
        public void close() throws IOException {
            out.close();
        }
    }
}
