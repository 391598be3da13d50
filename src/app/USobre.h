#pragma once
#include <QDialog>
#include <QStringList>

class QTimer;
class QPushButton;

// The about box: a picture, "&Fechar", and 17 credit lines scrolling upwards without end.
class TFrmSobre : public QDialog {
    Q_OBJECT
public:
    static constexpr int NumLinhas = 17;
    static constexpr int IntervaloMs = 50;

    explicit TFrmSobre(const QString& versao, QWidget* parent = nullptr);
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
};
