#pragma once
#include <QDateTime>

// "Today" decides many rules (dates after today, the current month, days since the last backup), so the
// program asks this clock instead of the system, and tests hand in a fixed one.
class IRelogio {
public:
    virtual ~IRelogio() = default;
    virtual QDateTime agora() const = 0;
    QDate hoje() const { return agora().date(); }
};

class TRelogioSistema final : public IRelogio {
public:
    QDateTime agora() const override { return QDateTime::currentDateTime(); }
};

class TRelogioFixo final : public IRelogio {
public:
    explicit TRelogioFixo(QDateTime momento) : m_momento(std::move(momento)) {}
    QDateTime agora() const override { return m_momento; }
    void ajusta(const QDateTime& momento) { m_momento = momento; }
private:
    QDateTime m_momento;
};

// The moment a printout carries: the context's clock, or the system's where a caller has none.
inline QDateTime Agora(const IRelogio* relogio)
{
    return relogio ? relogio->agora() : QDateTime::currentDateTime();
}
