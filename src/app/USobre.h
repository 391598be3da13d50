#pragma once
#include <QDialog>
#include <QStringList>

class QLabel;
class QTimer;
class QPushButton;

// The about box: a picture, 17 credit lines scrolling upwards without end, the data folder in use (so that a
// user can find the database to copy it or to point another computer at it) and "&Fechar".
class TFrmSobre : public QDialog {
    Q_OBJECT
public:
    static constexpr int NumLinhas = 17;
    static constexpr int IntervaloMs = 50;

    TFrmSobre(const QString& versao, const QString& pastaDados, QWidget* parent = nullptr);
    const QStringList& linhas() const { return m_linhas; }
    int deslocamento() const { return m_deslocamento; }
    // One step of the scroll (the timer's work).
    void rola();
    QTimer* timer() const { return m_timer; }

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QString m_versao;
    QStringList m_linhas;
    int m_deslocamento = 0;
    QTimer* m_timer;
    QPushButton* m_btnFechar;
    QLabel* m_lblPasta;
};
