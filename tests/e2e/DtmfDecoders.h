#pragma once

#include <QString>

// Two independent DTMF decoders over a raw recording (16-bit mono, SoundServer::RecordRate).
// Each returns the keys it heard in order ("*" for the star), or a text starting with "!" that
// says why it could not run.
namespace DtmfDecoders {

QString multimon(const QString& rawPath);
QString dtmf2num(const QString& rawPath);

} // namespace DtmfDecoders
