#include "windowicon.h"

#include <QImage>
#include <QPixmap>
#include <QResource>

using namespace Qt::StringLiterals;

// The icon's 32 x 32 RGBA pixels, made from its SVG by scripts/make-icon: a PNG would load
// the image reader and scan for its plugins at start-up.
QIcon quizIcon()
{
    constexpr int side = 32;
    const QByteArray pixels = QResource(u":/icons/zun-mitologia.rgba"_s).uncompressedData();
    if (pixels.size() != side * side * 4)
        return {};
    const QImage image(reinterpret_cast<const uchar *>(pixels.constData()),
                       side,
                       side,
                       QImage::Format_RGBA8888);
    return QIcon(QPixmap::fromImage(image));
}
