package org.vexajava.viewer;

import java.awt.Color;
import java.awt.Component;
import java.awt.FontMetrics;
import java.awt.Graphics;
import java.util.ArrayList;
import java.util.List;

/**
 * Text in an applet's place saying why it does not run. Lightweight, painting its own
 * background: it is drawn with its parent's paint and does not wait for a window of its own to
 * be exposed.
 */
final class Notice extends Component {
    private static final long serialVersionUID = 1L;
    private static final int MARGIN = 6;
    private final String text;

    Notice(String text) {
        this.text = text;
        setBackground(new Color(0xFFF2F2));
        setForeground(new Color(0x990000));
    }

    @Override
    public void paint(Graphics g) {
        g.setColor(getBackground());
        g.fillRect(0, 0, getWidth(), getHeight());
        g.setColor(getForeground());
        g.setFont(getFont());
        FontMetrics metrics = g.getFontMetrics();
        int y = MARGIN + metrics.getAscent();
        for (String line : wrap(text, metrics, getWidth() - 2 * MARGIN)) {
            g.drawString(line, MARGIN, y);
            y += metrics.getHeight();
        }
    }

    /** Breaks at spaces; a word wider than the area (a long path) is broken where it must be. */
    static List<String> wrap(String text, FontMetrics metrics, int width) {
        List<String> lines = new ArrayList<>();
        StringBuilder line = new StringBuilder();
        for (String word : text.split(" ")) {
            String candidate = line.length() == 0 ? word : line + " " + word;
            if (metrics.stringWidth(candidate) <= width) {
                line.setLength(0);
                line.append(candidate);
                continue;
            }
            if (line.length() > 0) {
                lines.add(line.toString());
                line.setLength(0);
            }
            for (char c : word.toCharArray()) {
                if (line.length() > 0 && metrics.stringWidth(line.toString() + c) > width) {
                    lines.add(line.toString());
                    line.setLength(0);
                }
                line.append(c);
            }
        }
        if (line.length() > 0) {
            lines.add(line.toString());
        }
        return lines;
    }
}
