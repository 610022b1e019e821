# Source lists of the three libraries and the executables.

set(KV_CORE_SOURCES
  framework/cp932.cpp
  framework/disk_file.cpp
  framework/errors.cpp
  framework/profile.cpp
  framework/data_paths.cpp
  framework/prompter.cpp
  framework/placement.cpp
  document/map_document.cpp
)

set(KV_RENDER_SOURCES
  framework/font.cpp
)

set(KV_UI_SOURCES
  framework/window.cpp
  framework/message_box_prompter.cpp
  app/editor_app.cpp
  app/main_frame.cpp
  app/menu_table.cpp
  app/version_dialog.cpp
  view/map_view.cpp
)

set(KV_SAMPLEDATA_SOURCES
  sampledata/main.cpp
  sampledata/program_folder.cpp
)

set(KV_CLI_SOURCES
  cli/main.cpp
)
