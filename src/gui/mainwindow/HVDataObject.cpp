#include "mainwindow/HVDataObject.h"

#include "exchange/ClipFormats.h"
#include "model/HVFolder.h"

namespace hv {

namespace {

QString Latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray Bytes(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

QString OwnMimeType() {
    return Latin(kOwnFormat);
}

THVDataObject::THVDataObject(const std::vector<const THVItem*>& items)
    : m_Own(Bytes(BuildOwnData(items))), m_MozUrl(QString::fromStdString(BuildMozUrlText(items))),
      m_UriList(Bytes(BuildUriList(items))), m_Text(QString::fromStdString(BuildUrlText(items))), m_Items(true) {}

THVDataObject::THVDataObject(const THVFolder& folder) : m_Own(Bytes(BuildOwnData(folder))) {}

QStringList THVDataObject::formats() const {
    QStringList list{OwnMimeType()};
    if (m_Items) {
        list << Latin(kMozUrlFormat) << Latin(kUriListFormat) << Latin(kTextFormat);
    }
    return list;
}

bool THVDataObject::hasFormat(const QString& mimeType) const {
    return formats().contains(mimeType);
}

bool THVDataObject::TakenAnyOf(const QStringList& mimeTypes) const {
    for (const QString& type : mimeTypes) {
        if (m_Taken.contains(type)) {
            return true;
        }
    }
    return false;
}

QVariant THVDataObject::retrieveData(const QString& mimeType, QMetaType type) const {
    Q_UNUSED(type);
    if (!hasFormat(mimeType)) {
        return {};
    }
    if (!m_Taken.contains(mimeType)) {
        m_Taken.insert(mimeType);
        emit const_cast<THVDataObject*>(this)->formatTaken(mimeType);
    }
    if (mimeType == OwnMimeType()) {
        return m_Own;
    }
    if (mimeType == Latin(kMozUrlFormat)) {
        // UTF-16 in the machine's byte order, as Mozilla writes it.
        return QByteArray(reinterpret_cast<const char*>(m_MozUrl.utf16()), m_MozUrl.size() * 2);
    }
    if (mimeType == Latin(kUriListFormat)) {
        return m_UriList;
    }
    return m_Text;
}

} // namespace hv
