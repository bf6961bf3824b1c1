#include "names/DirectoryWatch.h"

namespace names {

DirectoryWatch::~DirectoryWatch()
{
    stop();
}

}  // namespace names
