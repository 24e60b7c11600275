#include "app/platform/picture_dialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSpinBox>

#include "app/commands/picture_commands.h"
#include "app/commands/turntable_export.h"
#include "app/platform/qt_platform.h"
#include "trace/path_tracer.h"

namespace cubrik {
namespace {

QSpinBox* spinBox(int low, int high, int value) {
    auto* spin = new QSpinBox;
    spin->setRange(low, high);
    spin->setValue(value);
    return spin;
}

QDoubleSpinBox* angleBox(double low, double high, double value) {
    auto* spin = new QDoubleSpinBox;
    spin->setRange(low, high);
    spin->setDecimals(0);
    spin->setValue(value);
    return spin;
}

// Width × height, side by side on one row.
QHBoxLayout* sizeRow(QSpinBox* width, QSpinBox* height) {
    auto* row = new QHBoxLayout;
    row->addWidget(width);
    row->addWidget(height);
    return row;
}

// The form inside a dialog with OK and Cancel; true when accepted.
bool runForm(QDialog& dialog, QFormLayout* form) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    dialog.setLayout(form);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

std::optional<PictureOptions> askPictureOptionsIn(QWidget* parent, const PictureTexts& text,
                                                  const PictureOptions& initial) {
    QDialog dialog(parent);
    dialog.setWindowTitle(toQString(text.renderTitle));
    auto* form = new QFormLayout;
    QSpinBox* width = spinBox(1, kMaxPictureSide, initial.width);
    QSpinBox* height = spinBox(1, kMaxPictureSide, initial.height);
    QSpinBox* samples = spinBox(kMinTraceSamples, kMaxTraceSamples, initial.samples);
    QDoubleSpinBox* azimuth = angleBox(-180, 180, initial.sunAzimuth);
    QDoubleSpinBox* elevation = angleBox(0, 90, initial.sunElevation);
    auto* floor = new QCheckBox(toQString(text.floor));
    floor->setChecked(initial.floor);
    form->addRow(toQString(text.size), sizeRow(width, height));
    form->addRow(toQString(text.samples), samples);
    form->addRow(toQString(text.sunAzimuth), azimuth);
    form->addRow(toQString(text.sunElevation), elevation);
    form->addRow(floor);
    if (!runForm(dialog, form)) return std::nullopt;
    return PictureOptions{width->value(), height->value(), samples->value(), azimuth->value(), elevation->value(),
                          floor->isChecked()};
}

std::optional<TurntableOptions> askTurntableOptionsIn(QWidget* parent, const PictureTexts& text,
                                                      const TurntableOptions& initial) {
    QDialog dialog(parent);
    dialog.setWindowTitle(toQString(text.turntableTitle));
    auto* form = new QFormLayout;
    QSpinBox* frames = spinBox(1, kMaxTurntableFrames, initial.frames);
    QSpinBox* width = spinBox(1, kMaxPictureSide, initial.width);
    QSpinBox* height = spinBox(1, kMaxPictureSide, initial.height);
    auto* pathTraced = new QCheckBox(toQString(text.pathTraced));
    pathTraced->setChecked(initial.pathTraced);
    QSpinBox* samples = spinBox(kMinTraceSamples, kMaxTraceSamples, initial.samples);
    samples->setEnabled(initial.pathTraced);
    QObject::connect(pathTraced, &QCheckBox::toggled, samples, &QWidget::setEnabled);
    form->addRow(toQString(text.frames), frames);
    form->addRow(toQString(text.size), sizeRow(width, height));
    form->addRow(pathTraced);
    form->addRow(toQString(text.samples), samples);
    if (!runForm(dialog, form)) return std::nullopt;
    return TurntableOptions{frames->value(), width->value(), height->value(), pathTraced->isChecked(),
                            samples->value()};
}

}  // namespace cubrik
