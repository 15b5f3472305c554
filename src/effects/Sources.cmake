# The engine's sources, one list for the native library and the WebAssembly module.
set(VEXAJAVA_EFFECTS_SOURCES
    Blobs.cpp
    Engine.cpp
    Maths.cpp
    Plasma.cpp
    Registry.cpp
    Tag.cpp
    Fire.cpp
    Lake.cpp
    Lens.cpp
    Rot.cpp
    Tunnel.cpp
    Water.cpp
)
