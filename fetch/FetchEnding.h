#pragma once

#include <QString>

// How a fetch ended, beside the response it may have brought: nothing to
// tell, or the trouble, in a word for the program and in a sentence for the
// user (FetchReason).
struct FetchEnding {
    enum class Kind {
        None,
        ConnectionFailed, // no response: host not found, refused, reset, TLS failed
        NoAnswer,         // silent for the answer timeout
        CertificateNotTrusted,
        Redirects,       // too many, or from https to plain http
        NeedsPassword,   // a 401 and no password to answer it with
        PasswordRefused, // a 401 to the password sent
        CutShort,        // the body stopped before its end
        TooLarge,        // over HttpExchange::MaxResponseBytes
    };

    Kind Problem = Kind::None;
    QString Reason;
    // For NeedsPassword and PasswordRefused: whose password it is about.
    QString Server; // "host:port"
    QString User;   // empty when the address has no user
    QString Realm;
    bool PasswordStored = false; // it came from the password store, not the address
};
