#include "components/db_controls.h"
