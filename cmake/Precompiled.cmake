# Precompiled headers. Qt's headers are over half of every file's compile time, so each family of
# targets parses them once: one header for the core and the programs on Qt Core, one for the window,
# one per test folder (Qt Test's build-folder macro differs from folder to folder, and GCC refuses a
# precompiled header built with another value). The sanitizer presets turn them off, so that their
# builds also prove that every file includes what it uses.
option(KESTRAVA_PCH "Precompile Qt's headers once per family of targets" ON)

set(KESTRAVA_PCH_core
    <QByteArray> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QLocale> <QObject>
    <QSaveFile> <QSet> <QString> <QStringList> <QTimer> <QUrl>
    <algorithm> <array> <cmath> <functional> <memory> <optional> <vector>)
set(KESTRAVA_PCH_ui ${KESTRAVA_PCH_core}
    <QApplication> <QCheckBox> <QColor> <QFont> <QFrame> <QGridLayout> <QHBoxLayout> <QLabel>
    <QLineEdit> <QListWidget> <QMouseEvent> <QPainter> <QPixmap> <QVBoxLayout> <QWidget>)
set(KESTRAVA_PCH_test ${KESTRAVA_PCH_core} <QtTest> <QProcess> <QTemporaryDir>)
set(KESTRAVA_PCH_sitetest ${KESTRAVA_PCH_test} <QNetworkAccessManager> <QNetworkReply> <QTcpServer> <QTcpSocket>)
set(KESTRAVA_PCH_uitest ${KESTRAVA_PCH_ui} <QtTest> <QTemporaryDir>)

# The Qt modules each header is built with. GCC refuses a precompiled header when a macro that the
# headers test is set otherwise in a member (loudly here: -Winvalid-pch with -Werror). Qt Test's
# header tests the modules' macros, so every member of a test kind links the same Qt modules; the
# headers of Qt Core and Qt Widgets test none of them.
set(KESTRAVA_PCH_MODULES_core Qt6::Core)
set(KESTRAVA_PCH_MODULES_ui Qt6::Widgets)
set(KESTRAVA_PCH_MODULES_test Qt6::Core Qt6::Test)
set(KESTRAVA_PCH_MODULES_sitetest Qt6::Core Qt6::Network Qt6::Test)
set(KESTRAVA_PCH_MODULES_uitest Qt6::Widgets Qt6::Network Qt6::Test)

# kestrava_pch(<target> <kind>): the kind's header is built once, by a small object library of its
# own (made in the first member's folder: a test kind has all its members in one folder), and reused.
function(kestrava_pch target kind)
    if(NOT KESTRAVA_PCH)
        return()
    endif()
    set(owner kestrava_pch_${kind})
    if(NOT TARGET ${owner})
        add_library(${owner} OBJECT ${PROJECT_SOURCE_DIR}/cmake/pch.cpp)
        string(REPLACE "Qt6::" "" components "${KESTRAVA_PCH_MODULES_${kind}}")
        find_package(Qt6 REQUIRED COMPONENTS ${components})
        target_link_libraries(${owner} PRIVATE ${KESTRAVA_PCH_MODULES_${kind}})
        set_target_properties(${owner} PROPERTIES AUTOMOC OFF)
        target_precompile_headers(${owner} PRIVATE ${KESTRAVA_PCH_${kind}})
    endif()
    target_precompile_headers(${target} REUSE_FROM ${owner})
    # A test includes its own moc output, so the file AUTOMOC adds beside it is empty: loading the
    # header would be its whole cost.
    if(kind MATCHES "test$")
        set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/mocs_compilation.cpp
            PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    endif()
endfunction()
