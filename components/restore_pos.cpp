#include "components/restore_pos.h"
