#include "framework/version.h"

namespace tabulix {

const char* version() { return TABULIX_VERSION_STRING; }

}  // namespace tabulix
