// The catalogue's BLOBS played by the painting test applet: a class of the name BLOBS's tag
// names, so running, recording and publishing can be tested through the command line.
public class blobs extends PaintApplet {
}
