// Reading and checking underlay pictures with Qt's image readers.
#include "view/underlay_picture.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <new>

#include <unistd.h>

#include "framework/disk_file.h"

namespace kv {

namespace {

bool fits(QSize size, QSize maximum) {
    return size.width() <= maximum.width() && size.height() <= maximum.height();
}

UnderlayRead converted(const QImage& picture) {
    UnderlayRead out;
    out.size = picture.size();
    try {
        out.image = picture.convertToFormat(QImage::Format_RGB32);
    } catch (const std::bad_alloc&) {
        out.image = QImage();
    }
    // A conversion that could not allocate gives a null image.
    if (out.image.isNull()) out.problem = UnderlayRead::OutOfMemory;
    return out;
}

}  // namespace

QSize maximumUnderlaySize(int mapWidth, int mapHeight) {
    return {mapWidth * 32 + 16, mapHeight * 24 + 8};
}

UnderlayRead readUnderlayFile(const std::string& path, QSize maximum) {
    UnderlayRead out;
    // A descriptor of a regular file only: a FIFO under the name would block for ever.
    const int fd = openRegularFile(path);
    if (fd < 0) {
        out.problem = UnderlayRead::Unreadable;
        return out;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        out.problem = UnderlayRead::Unreadable;
        return out;
    }
    if (file.size() > kMaxUnderlayFileBytes) {
        out.problem = UnderlayRead::Unreadable;
        return out;
    }
    QImageReader reader(&file);
    out.size = reader.size();
    if (!out.size.isValid() || out.size.isEmpty()) {
        out.problem = UnderlayRead::Undecodable;
        return out;
    }
    if (!fits(out.size, maximum)) {
        out.problem = UnderlayRead::TooLarge;
        return out;
    }
    // The readers refuse pictures above a global limit (128 MB by default); the largest
    // map's underlay needs more.
    const int64_t megabytes = (int64_t{out.size.width()} * out.size.height() * 4 >> 20) + 1;
    if (QImageReader::allocationLimit() < megabytes)
        QImageReader::setAllocationLimit(static_cast<int>(megabytes));
    QImage picture;
    try {
        picture = reader.read();
    } catch (const std::bad_alloc&) {
        out.problem = UnderlayRead::OutOfMemory;
        return out;
    }
    // The header may promise one size and the data give another.
    if (picture.isNull() || !fits(picture.size(), maximum)) {
        out.problem = UnderlayRead::Undecodable;
        return out;
    }
    return converted(picture);
}

UnderlayRead takeUnderlayImage(const QImage& picture, QSize maximum) {
    UnderlayRead out;
    out.size = picture.size();
    if (picture.isNull()) {
        out.problem = UnderlayRead::Undecodable;
        return out;
    }
    if (!fits(picture.size(), maximum)) {
        out.problem = UnderlayRead::TooLarge;
        return out;
    }
    return converted(picture);
}

}  // namespace kv
