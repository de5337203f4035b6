#include "settings/RecRec.h"

TRecRec RecRec;
