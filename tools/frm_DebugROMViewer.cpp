#include "tools/frm_DebugROMViewer.h"

#include <QAbstractTableModel>
#include <QFontDatabase>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "model/classes_romdata.h"

namespace {

class TROMTableModel : public QAbstractTableModel {
public:
    explicit TROMTableModel(const TROMData& rom) : rom_(rom) {}
    int rowCount(const QModelIndex& = {}) const override { return TfrmDebugROMViewer::RowCount(rom_.FileSize()); }
    int columnCount(const QModelIndex& = {}) const override { return 35; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        const int c = index.column(), r = index.row();
        if (c == 0) return QString("%1").arg(r * 32, 8, 16, QChar('0')).toUpper();
        if (c >= 2 && c <= 33) {
            const long long at = TfrmDebugROMViewer::CellOffset(c, r);
            if (at < rom_.FileSize()) return QString::fromStdString(HexByte(rom_.Image().ReadByte(at)));
        }
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        const int c = index.column();
        // The offset column and the two separators cannot be selected.
        if (c == 0 || c == 1 || c == 34) return Qt::ItemIsEnabled;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }

private:
    const TROMData& rom_;
};

class TCellPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int c = index.column();
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.window());
        if (c == 1 || c == 34) {
            p->fillRect(option.rect, Qt::black);
            return;
        }
        p->setPen(selected ? option.palette.highlightedText().color() : QColor(Qt::black));
        const QFontMetrics fm(option.font);
        const int x = option.rect.left() + (c == 0 ? 4 : 0);
        p->drawText(x, option.rect.top() + 4 + fm.ascent(), index.data().toString());
    }
};

}  // namespace

TfrmDebugROMViewer::TfrmDebugROMViewer(const TROMData& rom, QWidget* parent) : QDialog(parent) {
    setObjectName("frmDebugROMViewer");
    setWindowTitle("Debug ROM Viewer");
    DrawGrid = new QTableView(this);
    DrawGrid->setObjectName("DrawGrid");
    DrawGrid->setModel(new TROMTableModel(rom));
    DrawGrid->setParent(this);
    DrawGrid->model()->setParent(DrawGrid);
    DrawGrid->setItemDelegate(new TCellPainter(DrawGrid));
    DrawGrid->horizontalHeader()->setMinimumSectionSize(1);
    DrawGrid->horizontalHeader()->hide();
    DrawGrid->verticalHeader()->hide();
    DrawGrid->setShowGrid(false);
    DrawGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(13);
    DrawGrid->setFont(font);
    DrawGrid->verticalHeader()->setDefaultSectionSize(20);
    DrawGrid->setColumnWidth(0, 80);
    DrawGrid->setColumnWidth(1, 1);
    for (int c = 2; c <= 33; ++c) DrawGrid->setColumnWidth(c, 20);
    DrawGrid->setColumnWidth(34, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(DrawGrid);
    DrawGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DrawGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFixedSize(80 + 1 + 32 * 20 + 1 + 2 * DrawGrid->frameWidth() + DrawGrid->verticalScrollBar()->sizeHint().width(), 480);
    connect(DrawGrid->selectionModel(), &QItemSelectionModel::currentChanged, this, &TfrmDebugROMViewer::UpdateCaption);
    DrawGrid->setCurrentIndex(DrawGrid->model()->index(0, 2));
}

void TfrmDebugROMViewer::UpdateCaption() {
    const QModelIndex cur = DrawGrid->currentIndex();
    if (!cur.isValid()) return;
    setWindowTitle("Debug ROM Viewer O:" + QString("%1").arg(CellOffset(cur.column(), cur.row()), 8, 16, QChar('0')).toUpper());
}
