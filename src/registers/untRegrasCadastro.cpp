#include "registers/untRegrasCadastro.h"

#include <QRegularExpression>

#include "core/untFuncoes.h"
#include "registers/untClsContador.h"
#include "registers/untClsContribuinte.h"
#include "registers/untValidacoes.h"

static TFalha falha(const QString& mensagem, const char* campo)
{
    return {mensagem, QString::fromLatin1(campo)};
}

static TFalha falhaNumero(const QString& tipo, const QString& numero)
{
    if (tipo == QLatin1String("CPF")) {
        if (!ValidaCPF(numero))
            return falha(QString::fromUtf8("CPF Inválido!"), "edtCnpj");
    } else if (!ValidaCNPJ(numero)) {
        return falha(QString::fromUtf8("CNPJ Inválido!"), "edtCnpj");
    }
    return {};
}

bool CrcValido(const QString& crc)
{
    static const QRegularExpression padrao(QStringLiteral("^[A-Z]{2}[0-9]{6}[A-Z][A-Z0-9]?$"));
    return padrao.match(crc.trimmed().toUpper()).hasMatch();
}

TFalha ChecaContador(const TCamposContador& c, bool inclusao)
{
    if (TFalha f = falhaNumero(c.tipoInscricao, c.numero); f.falhou())
        return f;
    if (RemoveAcentos(c.nome).toUpper().trimmed().isEmpty())
        return falha(QString::fromUtf8("Obrigatório Preenchimento do Nome!"), "edtRazaoSocial");
    if (c.crc.trimmed().isEmpty() || (inclusao && c.crc == PresetCrc))
        return falha(QString::fromUtf8("Obrigatório Preenchimento do CRC!"), "edtCrc");
    if (!CrcValido(c.crc))
        return falha(QString::fromUtf8("CRC Inválido!\nUtilize este formato: UF999999A9"), "edtCrc");
    if (const QString m = ValidaEmailContador(c.email); !m.isEmpty())
        return falha(m, "edtEmail");
    return {};
}

void PreparaContador(const TCamposContador& c, TContador& d)
{
    d.CPF = c.numero.trimmed();
    d.Nome = c.nome;
    d.CRC = c.crc;
    d.EMail = c.email;
    d.Fone = c.fone;
    d.preparaValores();
}

QString PreparaRazaoSocial(const QString& texto, bool inclusao)
{
    QString r = RemoveAcentos(texto);
    if (inclusao)
        r = FiltraTexto(r);
    return r.toUpper().trimmed();
}

QString PreparaTexto(const QString& texto)
{
    return RemoveAcentos(texto).toUpper().trimmed();
}

static bool foneDeContatoVazio(const QString& fone)
{
    const QString ultimos = fone.mid(7, 5);
    return ultimos.trimmed().isEmpty() || ultimos == QLatin1String("00000");
}

static bool inscricaoInvalida(const TCamposContribuinte& c)
{
    return c.ccicms == QLatin1String("000000000") || !ValidaInscricaoEstadual(c.ccicms, c.uf);
}

TFalha ChecaContribuinte(const TCamposContribuinte& c, ModoContribuinte modo, TContribuinte& registro)
{
    const bool inclusao = ehInclusao(modo);
    const QString ieInvalida = QString::fromUtf8("Inscrição Estadual Inválida!");
    if (inclusao) {
        if (TFalha f = falhaNumero(c.tipoInscricao, c.numero); f.falhou())
            return f;
        if (c.ccicms == QLatin1String("12121212121212"))
            return falha(ieInvalida, "edtCcicms");
    }
    if (PreparaRazaoSocial(c.razaoSocial, inclusao).isEmpty())
        return falha(QStringLiteral("Obrigatório Preenchimento da Razao Social!"), "edtRazaoSocial");
    if (PreparaTexto(c.logradouro).isEmpty() || PreparaTexto(c.bairro).isEmpty() ||
        PreparaTexto(c.municipio).isEmpty() || c.cep.trimmed().isEmpty())
        return falha(QString::fromUtf8("É Obrigatório o Preenchimento do Endereço!"), "edtLogradouro");
    if (PreencheZeros(c.numeroEndereco, 5) == QLatin1String("00000") && c.complemento.trimmed().isEmpty())
        return falha(QStringLiteral("Preencha o campo Complemento com \"S/N\"!"), "edtNumero");
    const QString contatoObrigatorio = QString::fromUtf8("É Obrigatório o Preenchimento\ndo Nome e Fone para Contato!");
    if (!inclusao && ehContribuinte(modo)) {
        if (c.contato.trimmed().isEmpty() || foneDeContatoVazio(c.fone))
            return falha(contatoObrigatorio, "edtContato");
        if (c.idContador == 0)
            return falha(QStringLiteral("Contador Obrigatório!"), "btnSelcionaContador");
    }
    if (!ValidaUF(c.uf))
        return falha(QString::fromUtf8("UF Inválida!"), "cmbUF");
    if (!ValidaCEP(c.cep))
        return falha(QString::fromUtf8("CEP Inválido!"), "edtCep");
    if (!inclusao)
        return {};

    const QString jaCadastrado = QString::fromUtf8("Este Contribuinte já está cadastrado!");
    if (modo == ModoContribuinte::IncluirClienteFornecedor) {
        if (!c.isento && inscricaoInvalida(c))
            return falha(ieInvalida, "edtCcicms");
        if (registro.JaCadastrado(c.numero, c.ccicms, c.uf, QStringLiteral("F")))
            return falha(jaCadastrado, "edtCnpj");
        return {};
    }
    if (c.contato.trimmed().isEmpty() || foneDeContatoVazio(c.fone))
        return falha(contatoObrigatorio, "edtContato");
    if (c.ccicms.trimmed().isEmpty())
        return falha(ieInvalida, "edtCcicms");
    if (c.idContador == 0)
        return falha(QStringLiteral("Contador Obrigatório!"), "btnSelcionaContador");
    if (c.isento)
        return {QString::fromUtf8("Inscrição Estadual é Obrigatória!"), QString()};
    if (inscricaoInvalida(c))
        return falha(ieInvalida, "edtCcicms");
    if (registro.JaCadastrado(c.numero, c.ccicms, c.uf, QStringLiteral("C")))
        return falha(jaCadastrado, "edtCnpj");
    return {};
}

void PreparaContribuinte(const TCamposContribuinte& c, ModoContribuinte modo, TContribuinte& d)
{
    const bool inclusao = ehInclusao(modo);
    d.RazaoSocial = PreparaRazaoSocial(c.razaoSocial, inclusao);
    d.CNPJ = c.numero.trimmed();
    d.Ccicms = c.isento ? QStringLiteral("ISENTO") : c.ccicms.trimmed();
    d.Logradouro = PreparaTexto(c.logradouro);
    d.Numero = PreencheZeros(c.numeroEndereco, 5);
    d.Complemento = PreparaTexto(c.complemento);
    d.Bairro = PreparaTexto(c.bairro);
    d.Municipio = PreparaTexto(c.municipio);
    d.Cep = c.cep.trimmed();
    d.UF = c.uf;
    d.Fone = c.fone;
    d.Fax = c.fax;
    d.Contato = PreparaTexto(c.contato);
    d.Email = c.email.trimmed();
    if (inclusao)
        d.Tipo = ehContribuinte(modo) ? QStringLiteral("C") : QStringLiteral("F");
    // The change of a client or supplier has no accountant field: the entity keeps the accountant it was
    // loaded with, so that a taxpayer reached through that list does not lose its own.
    if (ehContribuinte(modo))
        d.IdContador = c.idContador;
    else if (inclusao)
        d.IdContador = 0;
}
