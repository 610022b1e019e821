// The window tests' editor: a main frame over a document of a fresh copy of the sample data,
// made and taken down as the editor does. Fixtures that need more derive and call these first.
#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/window.h"
#include "support/test_paths.h"

namespace kvtest {

// Closes a test's main frame and document and undoes the hooks a test may have set.
inline void closeEditor(QPointer<QWidget>& widget, std::unique_ptr<kv::MapDocument>& doc) {
    kv::recordPosts(nullptr);
    kv::setFileDialogHook(nullptr);
    kv::Dialog::onModalStart = nullptr;
    if (widget) delete widget.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    doc.reset();
    kv::setProgramPath("");
}

class EditorTest : public testing::Test {
protected:
    void SetUp() override {
        copySampleData(dir.path());
        kv::setProgramPath(dir.file("kvornme"));
        doc = std::make_unique<kv::MapDocument>();
        doc->loadResources();
        doc->resetToNewMap();
        frame = kv::newWindow<kv::MainFrame>(*doc);
        ASSERT_TRUE(frame->create());
        widget = frame->handle();
        QCoreApplication::processEvents();
    }
    void TearDown() override { closeEditor(widget, doc); }

    TempDir dir;
    std::unique_ptr<kv::MapDocument> doc;
    kv::MainFrame* frame = nullptr;
    QPointer<QWidget> widget;
};

// The same over one copy of the sample data for a whole suite (the copy takes longer than most
// tests). The suite shares one settings file, so every window starts closed: none reopens from
// an earlier test.
class SuiteEditorTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        data_ = new TempDir;
        copySampleData(data_->path());
    }
    static void TearDownTestSuite() {
        delete data_;
        data_ = nullptr;
    }
    void SetUp() override {
        kv::setProgramPath(data_->file("kvornme"));
        for (int k = 0; k < int(kv::ToolKind::Count); ++k)
            if (const char* key = kv::toolInfo(kv::ToolKind(k)).key)
                kv::ProfileEntry("Environment", key).writeInt(0);
        doc = std::make_unique<kv::MapDocument>();
        doc->loadResources();
        frame = kv::newWindow<kv::MainFrame>(*doc);
        ASSERT_TRUE(frame->create());
        widget = frame->handle();
        QCoreApplication::processEvents();
    }
    void TearDown() override { closeEditor(widget, doc); }

    static inline TempDir* data_ = nullptr;
    std::unique_ptr<kv::MapDocument> doc;
    kv::MainFrame* frame = nullptr;
    QPointer<QWidget> widget;
};

}  // namespace kvtest
