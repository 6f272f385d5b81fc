#include "BoardEngine.h"
