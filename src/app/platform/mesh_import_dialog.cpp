#include "app/platform/mesh_import_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QLabel>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <thread>

namespace cubrik {

std::optional<VoxelizeOptions> askMeshImportIn(QWidget* parent, const MeshImportRequest& request) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromStdString(request.title));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QString::fromStdString(request.cellsLabel)));
    auto* cells = new QSpinBox;
    cells->setRange(1, kGridSize);
    cells->setValue(request.initial.cells);
    layout->addWidget(cells);
    auto* preview = new QLabel;
    layout->addWidget(preview);
    auto* solid = new QRadioButton(QString::fromStdString(request.solidLabel));
    auto* surface = new QRadioButton(QString::fromStdString(request.surfaceLabel));
    (request.initial.surface ? surface : solid)->setChecked(true);
    layout->addWidget(solid);
    layout->addWidget(surface);
    const auto showSize = [&] {
        const std::array<int, 3> size = importedExtent(request.meshSize, cells->value());
        const std::string text = std::to_string(size[0]) + " × " + std::to_string(size[1]) + " × " + std::to_string(size[2]);
        preview->setText(QString::fromStdString(fillIn(request.sizePreview, text)));
    };
    showSize();
    QObject::connect(cells, &QSpinBox::valueChanged, &dialog, showSize);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return VoxelizeOptions{cells->value(), surface->isChecked()};
}

void runWithProgressIn(QWidget* parent, const std::string& title,
                       const std::function<void(const ImportControl&)>& work) {
    std::atomic<int> permille{0};
    std::atomic<bool> cancel{false}, ended{false};
    std::thread worker([&] {
        work(ImportControl{&permille, &cancel});
        ended.store(true);
    });
    QProgressDialog progress(parent);  // its own Cancel button, in the desktop's language
    progress.setLabelText(QString::fromStdString(title));
    progress.setRange(0, 1000);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);  // quick work shows no box at all
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (progress.wasCanceled()) cancel.store(true);
        if (ended.load()) loop.quit();
        else progress.setValue(permille.load());
    });
    poll.start(30);
    loop.exec();
    worker.join();
}

}  // namespace cubrik
