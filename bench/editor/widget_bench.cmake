# The editor control against Qt's QPlainTextEdit and, when Debian's libqscintilla2-qt6-dev
# is installed (TAVREL_BENCH_PEERS=1 scripts/setup), QScintilla.
find_path(TAVREL_QSCINTILLA_INCLUDE Qsci/qsciscintilla.h
          PATHS /usr/include/x86_64-linux-gnu/qt6 /usr/include/qt6)
find_library(TAVREL_QSCINTILLA_LIBRARY NAMES qscintilla2_qt6)
tavrel_add_bench(tavrel_bench_editor_widget SOURCES widget_bench.cpp LIBS tavrel_editor Qt6::Widgets)
if(TAVREL_QSCINTILLA_INCLUDE AND TAVREL_QSCINTILLA_LIBRARY)
    target_include_directories(tavrel_bench_editor_widget PRIVATE ${TAVREL_QSCINTILLA_INCLUDE})
    target_link_libraries(tavrel_bench_editor_widget PRIVATE ${TAVREL_QSCINTILLA_LIBRARY})
    target_compile_definitions(tavrel_bench_editor_widget PRIVATE TAVREL_HAVE_QSCINTILLA)
endif()
tavrel_add_bench(tavrel_bench_highlight_widget SOURCES highlight_widget_bench.cpp LIBS tavrel_editor Qt6::Widgets)
