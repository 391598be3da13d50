#include "app/untConvencoes.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QProxyStyle>
#include <QTranslator>

#include "core/DialogsNew.h"

namespace {
// Tooltips show after 10 ms (each button keeps them up for 4 s through its tooltip duration).
class TEstiloDicas final : public QProxyStyle {
public:
    int styleHint(StyleHint dica, const QStyleOption* opcao, const QWidget* widget,
                  QStyleHintReturn* retorno) const override
    {
        if (dica == SH_ToolTip_WakeUpDelay)
            return 10;
        return QProxyStyle::styleHint(dica, opcao, widget, retorno);
    }
};
} // namespace

void AplicaConvencoes(QApplication& app)
{
    app.setApplicationName(tituloAplicacao());
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    app.setStyle(new TEstiloDicas);
    const QString pasta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* nome : {"qtbase_pt_BR", "qt_pt_BR"}) {
        auto* tradutor = new QTranslator(&app);
        if (tradutor->load(QString::fromLatin1(nome), pasta))
            app.installTranslator(tradutor);
        else
            delete tradutor;
    }
}
