#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One request over plain HTTP with hard limits: a time budget for the whole
// exchange, no redirects, no proxy, and a cap on the body read, so a slow or
// chatty peer costs bounded time and memory.
class BoundedHttpClient {
public:
    struct Limits {
        int connectTimeoutMs = 1000;
        int totalTimeoutMs = 3000;
        qsizetype maxBody = 1024 * 1024;
    };

    struct Response {
        bool ok = false;
        long status = 0;
        QByteArray body;
        QString error; // why the exchange failed, for the diagnostic output
    };

    // Call once before any thread uses the client.
    static void InitialiseOnce();
    // A SOAP 1.2 envelope posted to the URL.
    static Response Post(const QString& url, const QByteArray& envelope, const Limits& limits);
    // A body posted with the given header lines ("Name: value").
    static Response Post(const QString& url, const QByteArray& body, const QList<QByteArray>& headers,
                         const Limits& limits);
    static Response Get(const QString& url, const Limits& limits);

private:
    // body null: a GET.
    static Response Exchange(const QString& url, const QByteArray* body, const QList<QByteArray>& headers,
                             const Limits& limits);
};
