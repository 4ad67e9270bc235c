#include "link/transfer_controller.h"

#include "common/app_context.h"
#include "document/image_compare.h"
#include "i18n/link_texts.h"
#include "link/progress_window.h"
#include "link/verify_window.h"
#include "serial_port.h"
#include "transfer_session.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace quillon {

TransferController::TransferController(AppContext &context, QWidget *dialogParent, QObject *parent)
    : QObject(parent), m_context(context), m_dialogParent(dialogParent), m_session(new TransferSession(this))
{
    connect(m_session, &TransferSession::forcedWriteQuestion, this, &TransferController::askForcedWrite);
}

TransferController::~TransferController()
{
    // Without a parent window the list of differences is ours to delete.
    if (m_verifyWindow && !m_dialogParent)
        delete m_verifyWindow;
}

void TransferController::setLink(std::unique_ptr<SerialLink> link)
{
    m_session->setLink(std::move(link));
}

bool TransferController::openPort(int number, QString *reason)
{
    return m_session->openPort(number, reason, m_context.language());
}

void TransferController::closePort()
{
    m_session->closePort();
}

bool TransferController::isPortOpen() const
{
    return m_session->isPortOpen();
}

int TransferController::portNumber() const
{
    return m_session->portNumber();
}

QString TransferController::deviceName(int number)
{
    return serialDeviceName(number);
}

QString TransferController::device() const
{
    return m_session->portDevice();
}

void TransferController::setClock(TransferSession::MillisecondClock clock)
{
    m_session->setClock(std::move(clock));
}

QString TransferController::openDevice() const
{
    return m_session->openDeviceName();
}

bool TransferController::isTransferring() const
{
    return m_session->isActive();
}

const SerialTrace &TransferController::trace() const
{
    return m_session->trace();
}

void TransferController::readRadio()
{
    run(Purpose::Read);
}

void TransferController::writeRadio()
{
    run(Purpose::Write);
}

void TransferController::verifyRadio()
{
    run(Purpose::Verify);
}

void TransferController::run(Purpose purpose)
{
    if (m_session->isActive())
        return;   // the modal window already keeps a second transfer out
    m_lastEnd.reset();
    if (!m_session->ensurePortOpen()) {
        m_context.showMessage(Message::SerialPortInvalid);
        return;
    }
    m_context.commitPendingEdits();

    // What a verify compares the radio with: the last write of this run,
    // else what Save would write now.
    Document &document = m_context.document();
    const Workspace &workspace = m_context.workspace();
    std::optional<TransferSession::Written> reference;
    const bool againstWrite = m_session->lastWritten().has_value();
    if (purpose == Purpose::Verify) {
        reference = againstWrite ? *m_session->lastWritten()
                                 : TransferSession::Written{document.encode(),
                                                            workspace.modes.isOn(HiddenMode::Calibration)};
    }

    const TransferKind kind = purpose == Purpose::Write ? TransferKind::Write : TransferKind::Read;
    ProgressWindow window(m_dialogParent);
    window.begin(kind, m_context.language());
    connect(m_session, &TransferSession::progress, &window, &ProgressWindow::setStep);
    connect(m_session, &TransferSession::finished, &window, &ProgressWindow::finish);
    m_window = &window;
    bool started = false;
    if (kind == TransferKind::Read) {
        started = m_session->startRead();
    } else {
        WriteSettings settings;
        settings.bandIndex = workspace.band.index;
        settings.forcedWriteMode = workspace.modes.isOn(HiddenMode::ForcedWrite);
        settings.calibrationMode = workspace.modes.isOn(HiddenMode::Calibration);
        started = m_session->startWrite(settings, [&document] { return document.encode(); });
    }
    if (started && m_session->isActive())
        window.exec();
    m_window = nullptr;
    if (started)
        m_lastEnd = m_session->lastEnd();

    if (!m_lastEnd)
        return;
    const TransferEnd end = *m_lastEnd;
    if (purpose == Purpose::Verify && end == TransferEnd::ReadComplete)
        showVerifyResult(reference->image, reference->calibration, againstWrite);
    else if (const std::optional<Message> message = endMessage(end))
        m_context.showMessage(*message);
    if (purpose == Purpose::Read && end == TransferEnd::ReadComplete)
        finishRead();
    else if (end == TransferEnd::WriteComplete)
        finishWrite();
    emit transferFinished(end);
    if (end == TransferEnd::WriteComplete && m_verifyAfterWriting)
        verifyRadio();
}

void TransferController::finishRead()
{
    m_context.document().readCompleted(m_session->received());
    storeHistory(HistoryDirection::Read, m_session->received());
}

void TransferController::finishWrite()
{
    m_context.document().markClean();
    storeHistory(HistoryDirection::Written, m_session->lastWritten()->image);
}

void TransferController::storeHistory(HistoryDirection direction, const MemoryImage &image)
{
    QString reason;
    const RadioHistory history(RadioHistory::defaultFolder());
    if (!history.store(direction, image, QDateTime::currentDateTime(), &reason).isEmpty())
        return;
    // The transfer itself succeeded; only the copy is missing.
    const Language language = m_context.language();
    m_context.showMessage(link_text::kHistoryNotSaved.text(language) + reason, kStyleExclamation,
                          link_text::kAttentionCaption.text(language));
}

void TransferController::showVerifyResult(const MemoryImage &reference, bool calibration, bool againstWrite)
{
    const Language language = m_context.language();
    const QList<ImageDifference> differences = compareImages(
        m_session->received(), reference, language,
        [calibration](int address) { return isWrittenAddress(address, calibration); });
    if (differences.isEmpty()) {
        m_context.showMessage(link_text::kVerifySame.text(language), kStyleInformation,
                              link_text::kSuggestionCaption.text(language));
        return;
    }
    if (!m_verifyWindow)
        m_verifyWindow = new VerifyWindow(m_dialogParent);
    m_verifyWindow->showDifferences(differences, language, againstWrite);
}

void TransferController::askForcedWrite()
{
    const bool ok = m_context.showMessage(Message::ForcedWrite) == kAnswerOk;
    m_session->answerForcedWrite(ok);
}

void TransferController::saveTrace()
{
    const Language language = m_context.language();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString suggested = QDir(folder).filePath(
        QStringLiteral("quillon-trace-%1.txt")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd'T'HH-mm-ss"))));
    const QString path = m_traceChooser
        ? m_traceChooser(suggested)
        : QFileDialog::getSaveFileName(m_dialogParent, link_text::kSaveSerialTrace.text(language), suggested,
                                       link_text::kTraceFilter.text(language));
    if (path.isEmpty())
        return;
    QString reason;
    if (!saveSerialTrace(path, trace(), &reason))
        m_context.showMessage(link_text::kTraceNotSaved.text(language) + reason, kStyleStop,
                              link_text::kErrorCaption.text(language));
}

} // namespace quillon
