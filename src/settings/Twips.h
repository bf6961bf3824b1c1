#pragma once
// Moved to the ui folder; kept while older includes are switched over.
#include "ui/Twips.h"
