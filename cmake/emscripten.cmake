# The web build: Debian's emscripten compiles the core and the web front end
# to WebAssembly. Its own scripts run under node and need Debian's node
# modules (acorn), which the image's node does not look for by itself.
set(ENV{NODE_PATH} "/usr/share/nodejs")
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
# The same for every compile and link step that ninja starts later.
set(CMAKE_CXX_COMPILER_LAUNCHER env NODE_PATH=/usr/share/nodejs CACHE STRING "" FORCE)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs CACHE STRING "" FORCE)
