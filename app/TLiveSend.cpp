#include "TLiveSend.h"

#include "TPageTable.h"
#include "TZr5Com.h"

#include <QCheckBox>

#include <optional>

void TLiveSend::Bind(TZr5Com* com, const QCheckBox* nonVolatile)
{
    m_com = com;
    m_nonVolatile = nonVolatile;
}

void TLiveSend::Send(const TPageTable& table, int row, int value) const
{
    if (!m_com || !m_com->Connected())
        return;
    const std::optional<int> number = table.ParameterNumberOf(row);
    if (!number)
        return;
    m_com->SetParam(*number, value, m_nonVolatile && m_nonVolatile->isChecked());
}
