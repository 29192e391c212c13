// Opening a picture for the texture bank; the decoding of its stream is the decoder's own file
// (libjpeg natively, stb_image in the browser).

#include "assets/TextureBank.h"
#include "platform/DataFile.h"
#include "platform/Quit.h"

#include <cerrno>

bool TextureBank::decodeJpeg(const char* path) {
    std::FILE* file = openDataStream(path); // a directory, a device or a FIFO is refused
    if (!file) {
        reportUnreadableAsset(path, dataFileError(errno));
        return false;
    }
    const bool ok = decodeJpegStream(file, path);
    std::fclose(file);
    return ok;
}
