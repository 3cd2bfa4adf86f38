#pragma once

#include <QByteArray>
#include <QMimeData>
#include <QSet>
#include <QString>

#include <vector>

namespace hv {

class THVFolder;
class THVItem;

// The data of items or of a folder on the clipboard or in a drag. Made from items it offers the
// own format (their records), then text/x-moz-url, text/uri-list and text/plain; made from a
// folder, the own format only. Every text is taken when the object is made, so the data stays
// valid after the items are gone (a cut). It records which formats the receiver asked for, so a
// drag source learns what the drop target took.
class THVDataObject : public QMimeData {
    Q_OBJECT

public:
    explicit THVDataObject(const std::vector<const THVItem*>& items);
    explicit THVDataObject(const THVFolder& folder);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;
    // Whether a receiver asked for the format (rendered it).
    bool Taken(const QString& mimeType) const { return m_Taken.contains(mimeType); }
    bool TakenAnyOf(const QStringList& mimeTypes) const;
    // The formats asked for so far.
    QStringList TakenFormats() const { return QStringList(m_Taken.cbegin(), m_Taken.cend()); }

signals:
    // A receiver asked for the format.
    void formatTaken(const QString& mimeType);

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    QByteArray m_Own;
    QString m_MozUrl;
    QByteArray m_UriList;
    QString m_Text;
    bool m_Items = false;
    mutable QSet<QString> m_Taken;
};

// The own format's name as a MIME type.
QString OwnMimeType();

} // namespace hv
