#include "platform/picture/MemoryReturn.h"

#include "platform/gdi/Gdi.h"
#include "platform/picture/PictureLoader.h"

#include <malloc.h>

namespace {

// Above any received picture's bytes or thumbnail, below any full picture.
constexpr int SeparateBlockBytes = 1024 * 1024;

} // namespace

void MapLargeBlocksSeparately() {
    mallopt(M_MMAP_THRESHOLD, SeparateBlockBytes);
}

void ReturnFreeMemory() {
    ForgetSparePictureMemory();
    Gdi::ForgetSpareBitmapMemory();
    malloc_trim(0);
}
