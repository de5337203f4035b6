#include <QApplication>
#include <gmock/gmock.h>

// Widget tests run headless: the offscreen platform, no real display needed.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
