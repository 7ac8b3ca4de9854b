#pragma once
// A hexadecimal view of the whole ROM image as edited: 32 bytes a row.

#include <QDialog>

class QTableView;
class TROMData;

class TfrmDebugROMViewer : public QDialog {
    Q_OBJECT
public:
    TfrmDebugROMViewer(const TROMData& rom, QWidget* parent);
    QTableView* DrawGrid;
    static int RowCount(long long imageSize) { return static_cast<int>((imageSize + 16) / 32); }
    // Offset of the cell at (column, row); columns 2..33 hold bytes.
    static long long CellOffset(int column, int row) { return static_cast<long long>(row) * 32 + column - 2; }

private:
    void UpdateCaption();
};
