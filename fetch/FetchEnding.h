#pragma once

#include <QString>

// How a fetch ended, beside the response it may have brought: nothing to
// tell, or the trouble, in a word for the program and in a sentence for the
// user (FetchReason).
struct FetchEnding {
    enum class Kind {
        None,
        ConnectionFailed, // no response: host not found, refused, reset, no TLS
        NoAnswer,         // silent for the answer timeout
        CertificateNotTrusted,
        CutShort, // the body stopped before its end
        TooLarge, // over HttpExchange::MaxResponseBytes
    };

    Kind Problem = Kind::None;
    QString Reason;
};
