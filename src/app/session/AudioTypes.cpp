#include "AudioTypes.h"

#include "AudioTypesTable.h"

namespace dictaro::AudioTypes {

const QList<AudioType>& all()
{
    static const QList<AudioType> types = table();
    return types;
}

QStringList extensions()
{
    QStringList list;
    for (const AudioType& type : all())
        list.append(type.extension);
    return list;
}

QStringList mimeTypes()
{
    QStringList list;
    for (const AudioType& type : all()) {
        for (const QString& mimeType : type.mimeTypes) {
            if (!list.contains(mimeType))
                list.append(mimeType);
        }
    }
    return list;
}

QStringList names()
{
    QStringList list;
    for (const AudioType& type : all()) {
        if (!type.name.isEmpty())
            list.append(type.name);
    }
    return list;
}

} // namespace dictaro::AudioTypes
