# cmake -DMODULE=x.wasm -DTEMPLATE=player.js.in -DOUTPUT=player.js -P EmbedModule.cmake
# Puts the WebAssembly module, base64, into the player script, so that one file works from
# file:// (where a script may not fetch a .wasm) and from any server whatever its types.
execute_process(COMMAND base64 -w0 ${MODULE} OUTPUT_VARIABLE MODULE_BASE64 RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "Could not read ${MODULE}")
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
