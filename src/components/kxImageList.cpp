#include "components/kxImageList.h"

TkxImageList::TkxImageList(int width, int height, QObject *parent)
    : QObject(parent), width_(std::max(width, 1)), height_(std::max(height, 1))
{
}

int TkxImageList::Add(const QPixmap &image)
{
    const QSize size(width_, height_);
    images_.append(
        image.size() == size ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return Count() - 1;
}

QPixmap TkxImageList::Image(int index) const
{
    return index >= 0 && index < Count() ? images_[index] : QPixmap();
}

void TkxImageAction::SetImageIndex(int index)
{
    if (index == imageIndex_)
        return;
    imageIndex_ = index;
    emit changed();
}

void TkxImageAction::SetImages(TkxImageList *images)
{
    if (images == images_)
        return;
    images_ = images;
    emit changed();
}
