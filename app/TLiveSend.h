#pragma once

class QCheckBox;
class TPageTable;
class TZr5Com;

// The send of a single edit: the new value goes at once to the board
// parameter of the edited row, non-volatile when "Non-volatile Write" is
// ticked at that moment. Without a board nothing is sent, and a row that
// names no parameter number is never sent (it must not be taken for
// parameter 0).
class TLiveSend
{
public:
    void Bind(TZr5Com* com, const QCheckBox* nonVolatile);

    void Send(const TPageTable& table, int row, int value) const;

private:
    TZr5Com* m_com = nullptr;
    const QCheckBox* m_nonVolatile = nullptr;
};
