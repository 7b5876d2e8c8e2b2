# cmake -DSOURCE=layer/file.h -DOUTPUT=.../tabulix/layer/file.h -P TabulixPublicHeader.cmake
# Copies a header for installation, turning the project's own includes ("layer/file.h") into
# <tabulix/layer/file.h>. System includes (<...>) are left as they are.
file(READ ${SOURCE} text)
string(REGEX REPLACE "#include \"([a-z_]+/[^\"]+)\"" "#include <tabulix/\\1>" text "${text}")
file(WRITE ${OUTPUT} "${text}")
