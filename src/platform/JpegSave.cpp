#include "platform/JpegSave.h"

#include <QImage>
#include <QSaveFile>
#include <QWidget>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <dlfcn.h>
#include <optional>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg is loaded at the first save, not with the window: most runs never save a picture.
struct TJpegLibrary {
    decltype(&jpeg_std_error) StdError = nullptr;
    decltype(&jpeg_CreateCompress) CreateCompress = nullptr;
    decltype(&jpeg_set_defaults) SetDefaults = nullptr;
    decltype(&jpeg_set_quality) SetQuality = nullptr;
    decltype(&jpeg_start_compress) StartCompress = nullptr;
    decltype(&jpeg_write_scanlines) WriteScanlines = nullptr;
    decltype(&jpeg_finish_compress) FinishCompress = nullptr;
    decltype(&jpeg_destroy_compress) DestroyCompress = nullptr;
};

template <typename Function> bool Find(void *library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(library ? dlsym(library, name) : nullptr);
    return function != nullptr;
}

// Never unloaded: a later save needs it again. Null where it cannot be loaded.
const TJpegLibrary *JpegLibrary()
{
    static const std::optional<TJpegLibrary> loaded = []() -> std::optional<TJpegLibrary> {
        void *library = dlopen(ORVANI_JPEG_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        TJpegLibrary jpeg;
        if (Find(library, "jpeg_std_error", jpeg.StdError) &&
            Find(library, "jpeg_CreateCompress", jpeg.CreateCompress) &&
            Find(library, "jpeg_set_defaults", jpeg.SetDefaults) &&
            Find(library, "jpeg_set_quality", jpeg.SetQuality) &&
            Find(library, "jpeg_start_compress", jpeg.StartCompress) &&
            Find(library, "jpeg_write_scanlines", jpeg.WriteScanlines) &&
            Find(library, "jpeg_finish_compress", jpeg.FinishCompress) &&
            Find(library, "jpeg_destroy_compress", jpeg.DestroyCompress))
            return jpeg;
        std::fprintf(stderr, "orvani: cannot load %s: %s\n", ORVANI_JPEG_LIBRARY, dlerror());
        return std::nullopt;
    }();
    return loaded ? &*loaded : nullptr;
}

// libjpeg-turbo reads Qt's 32-bit pixels as they are; no conversion pass over the picture.
constexpr QImage::Format CaptureFormat = QImage::Format_RGB32;
constexpr J_COLOR_SPACE CaptureColorSpace = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
constexpr int CaptureComponents = 4;

// libjpeg reports errors by calling error_exit, which must not return: it jumps back to the
// compressing function. Warnings and messages are dropped: failures are quiet.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Streams the compressed data into the file in blocks.
struct FileDestination {
    jpeg_destination_mgr base;
    QSaveFile *file;
    std::array<JOCTET, 64 * 1024> buffer;
};

FileDestination &DestinationOf(j_compress_ptr info)
{
    return *reinterpret_cast<FileDestination *>(info->dest);
}

void StartBlock(j_compress_ptr info)
{
    FileDestination &destination = DestinationOf(info);
    destination.base.next_output_byte = destination.buffer.data();
    destination.base.free_in_buffer = destination.buffer.size();
}

void WriteBlock(j_compress_ptr info, std::size_t size)
{
    FileDestination &destination = DestinationOf(info);
    const auto *data = reinterpret_cast<const char *>(destination.buffer.data());
    if (destination.file->write(data, qint64(size)) != qint64(size))
        ERREXIT(info, JERR_FILE_WRITE);
}

boolean WriteFullBlock(j_compress_ptr info)
{
    WriteBlock(info, DestinationOf(info).buffer.size());
    StartBlock(info);
    return TRUE;
}

void WriteLastBlock(j_compress_ptr info)
{
    const FileDestination &destination = DestinationOf(info);
    WriteBlock(info, destination.buffer.size() - destination.base.free_in_buffer);
}

// Only plain data lives in this frame, so the jump back from an error skips no destructor.
bool Compress(const TJpegLibrary &jpeg, const QImage &picture, int quality, QSaveFile &file)
{
    jpeg_compress_struct info;
    ErrorManager errors;
    FileDestination destination;
    info.err = jpeg.StdError(&errors.base);
    errors.base.error_exit = JumpOnError;
    errors.base.output_message = IgnoreMessage;
    if (setjmp(errors.jump)) {
        jpeg.DestroyCompress(&info);
        return false;
    }
    jpeg.CreateCompress(&info, JPEG_LIB_VERSION, sizeof info);
    destination.file = &file;
    destination.base.init_destination = StartBlock;
    destination.base.empty_output_buffer = WriteFullBlock;
    destination.base.term_destination = WriteLastBlock;
    info.dest = &destination.base;

    info.image_width = JDIMENSION(picture.width());
    info.image_height = JDIMENSION(picture.height());
    info.input_components = CaptureComponents;
    info.in_color_space = CaptureColorSpace;
    jpeg.SetDefaults(&info);
    jpeg.SetQuality(&info, quality, TRUE);
    jpeg.StartCompress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.constScanLine(int(info.next_scanline)));
        jpeg.WriteScanlines(&info, &row, 1);
    }
    jpeg.FinishCompress(&info);
    jpeg.DestroyCompress(&info);
    return true;
}

// What the control shows, at the screen's pixels: on a scaled screen (device pixel ratio 2) the
// picture has twice the control's width and height, as the view shows it. Where the control
// paints no background of its own, the toolkit paints its palette's window background first;
// only a control that asks for no background at all, or says it paints every pixel, leaves the
// picture unpainted, and then it starts in the control's background colour.
QImage Capture(QWidget &control)
{
    const qreal ratio = control.devicePixelRatioF();
    QImage picture(control.size() * ratio, CaptureFormat);
    picture.setDevicePixelRatio(ratio);
    if (control.testAttribute(Qt::WA_NoSystemBackground) || control.testAttribute(Qt::WA_OpaquePaintEvent))
        picture.fill(control.palette().color(control.backgroundRole()));
    control.render(&picture);
    return picture;
}

} // namespace

bool SaveControlAsJpeg(QWidget *control, const QString &fileName, int quality)
{
    const TJpegLibrary *jpeg = JpegLibrary();
    if (!jpeg || !control || control->width() <= 0 || control->height() <= 0 || fileName.isEmpty())
        return false;
    const QImage picture = Capture(*control);
    if (picture.isNull())
        return false;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return Compress(*jpeg, picture, quality, file) && file.commit();
}
