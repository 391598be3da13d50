#include <QCoreApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include "support/TProcessoFilho.h"

int main(int argc, char** argv)
{
    if (const int papel = ExecutaPapelDeFilho(argc, argv); papel >= 0)
        return papel;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
