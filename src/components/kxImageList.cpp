#include "components/kxImageList.h"

TkxImageList::TkxImageList(int width, int height, QObject *parent)
    : QObject(parent), FWidth(std::max(width, 1)), FHeight(std::max(height, 1))
{
}

int TkxImageList::Add(const QPixmap &image)
{
    const QSize size(FWidth, FHeight);
    FImages.append(
        image.size() == size ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return Count() - 1;
}

QPixmap TkxImageList::Image(int index) const
{
    return index >= 0 && index < Count() ? FImages[index] : QPixmap();
}

void TkxImageAction::SetImageIndex(int index)
{
    if (index == FImageIndex)
        return;
    FImageIndex = index;
    emit changed();
}

void TkxImageAction::SetImages(TkxImageList *images)
{
    if (images == FImages)
        return;
    FImages = images;
    emit changed();
}
