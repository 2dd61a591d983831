// Which addresses reach the desktop, and as what: network addresses only, checked by the
// parts of the URL the desktop will see; everything that could name a file or a program is
// refused, and a refused address never reaches a URL handler.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>

#include "platform/open_address.h"

namespace tavrel::platform {
namespace {

struct Accepted {
    const char* address;
    const char* scheme;
    const char* host;
    const char* path;
};

TEST(OpenAddress, NetworkAddressesKeepTheirParts) {
    for (const Accepted& a : {Accepted{"http://a.example/x?y=1", "http", "a.example", "/x"},
                              Accepted{"HTTPS://A.Example", "https", "a.example", ""},
                              Accepted{"www.Example.com", "http", "www.example.com", ""},
                              Accepted{"WWW.x.org/p", "http", "www.x.org", "/p"},
                              Accepted{"ftp://FTP.site.org", "ftp", "ftp.site.org", ""},
                              Accepted{"gopher://gopher.x.org", "gopher", "gopher.x.org", ""},
                              Accepted{"telnet://h.example", "telnet", "h.example", ""},
                              Accepted{"mailto:joe@host.org", "mailto", "", "joe@host.org"},
                              Accepted{"news:comp.lang.c", "news", "", "comp.lang.c"}}) {
        const QUrl url = networkUrlFor(a.address);
        ASSERT_TRUE(url.isValid()) << a.address;
        EXPECT_EQ(url.scheme().toStdString(), a.scheme) << a.address;
        EXPECT_EQ(url.host().toStdString(), a.host) << a.address;
        EXPECT_EQ(url.path().toStdString(), a.path) << a.address;
    }
}

TEST(OpenAddress, AnythingThatCouldOpenAFileOrRunAProgramIsRefused) {
    for (const char* address : {"file:///etc/passwd",
                                "FILE://localhost/etc/passwd",
                                "javascript:alert(1)",
                                "/usr/bin/xterm",
                                "../secret.txt",
                                "C:\\Windows\\notepad.exe",
                                "~/.bashrc",
                                "x@y.org",
                                "joe@host.org",
                                "smb://host/share",
                                "ssh://host",
                                "data:text/html,hi",
                                "vbscript:x",
                                "http://a.example/x y",
                                "http://a.example/`reboot`\x01",
                                "http://a.example/\xE9",
                                "http:///no-host",
                                "ftp:/relative",
                                "mailto:",
                                "news:",
                                "",
                                "http://a.example/;$(reboot) x",
                                "www.a.example/x\ty"}) {
        EXPECT_FALSE(networkUrlFor(address).isValid()) << address;
    }
}

class Recorder : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public Q_SLOTS:
    void handle(const QUrl& url) { urls.push_back(url); }
};

TEST(OpenAddress, OnlyAcceptedAddressesReachTheDesktop) {
    Recorder recorder;
    for (const char* scheme : {"http", "file", "javascript", "mailto"}) {
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "handle");
    }
    EXPECT_TRUE(openNetworkAddress("www.a.example"));
    EXPECT_FALSE(openNetworkAddress("file:///etc/passwd"));
    EXPECT_FALSE(openNetworkAddress("javascript:alert(1)"));
    EXPECT_TRUE(openNetworkAddress("mailto:joe@host.org"));
    for (const char* scheme : {"http", "file", "javascript", "mailto"}) {
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    ASSERT_EQ(recorder.urls.size(), 2u);
    EXPECT_EQ(recorder.urls[0].toString().toStdString(), "http://www.a.example");
    EXPECT_EQ(recorder.urls[1].toString().toStdString(), "mailto:joe@host.org");
}

} // namespace
} // namespace tavrel::platform

#include "open_address_test.moc"
