#include "UrlCatcher.h"
