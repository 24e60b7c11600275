#include "app/platform/cell_box_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace cubrik {

std::optional<CellBox> askCellBoxIn(QWidget* parent, const std::string& title, const std::string& prompt,
                                    const CellBox& initial) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromStdString(title));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QString::fromStdString(prompt)));
    auto* grid = new QGridLayout;
    QSpinBox* spins[2][3];
    for (int axis = 0; axis < 3; ++axis) grid->addWidget(new QLabel(QString(QChar("xyz"[axis]))), 0, axis + 1);
    for (int corner = 0; corner < 2; ++corner) {
        grid->addWidget(new QLabel(QString::number(corner + 1)), corner + 1, 0);
        for (int axis = 0; axis < 3; ++axis) {
            QSpinBox* spin = spins[corner][axis] = new QSpinBox;
            spin->setRange(0, kGridSize - 1);
            spin->setValue(corner == 0 ? initial.min[axis] : initial.max[axis]);
            grid->addWidget(spin, corner + 1, axis + 1);
        }
    }
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::array<int, 3> corners[2];
    for (int corner = 0; corner < 2; ++corner)
        for (int axis = 0; axis < 3; ++axis) corners[corner][axis] = spins[corner][axis]->value();
    return boxSpanning(corners[0], corners[1]);
}

}  // namespace cubrik
