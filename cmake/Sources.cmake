# Source lists of the three libraries and the executables.

set(KV_CORE_SOURCES
  framework/cp932.cpp
  framework/disk_file.cpp
  framework/errors.cpp
  framework/profile.cpp
  framework/data_paths.cpp
  framework/prompter.cpp
  framework/placement.cpp
  framework/bitmap_block.cpp
  framework/archive_reader.cpp
  framework/faction_colours.cpp
  framework/name_order.cpp
)
# The document grows file by file.
file(GLOB KV_DOCUMENT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/document/*.cpp)
list(APPEND KV_CORE_SOURCES ${KV_DOCUMENT_SOURCES})
# The game database and the generator grow file by file.
file(GLOB KV_GAMEDATA_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/gamedata/*.cpp)
list(APPEND KV_CORE_SOURCES ${KV_GAMEDATA_SOURCES})
# The model side of scenarios and campaigns (their dialogs go with the windows).
list(APPEND KV_CORE_SOURCES
  scenario/campaign_records.cpp
  scenario/campaign_file.cpp
  scenario/campaign_check.cpp
  scenario/text_layout.cpp
  scenario/scenario_text_edit.cpp
  scenario/victory_block.cpp
)

set(KV_RENDER_SOURCES
  framework/font.cpp
  framework/picture.cpp
  framework/canvas.cpp
  view/sprite_image.cpp
  view/sprite_sheets.cpp
  view/hex_painter.cpp
  view/hex_painter_troops.cpp
  view/map_renderer.cpp
  view/map_renderer_labels.cpp
  view/map_renderer_present.cpp
  view/underlay_picture.cpp
  view/faction_colour_preview.cpp
  view/bitmap_export.cpp
  view/png_writer.cpp
  view/sheet_cache.cpp
  view/map_thumbnail.cpp
  view/map_tool.cpp
  view/terrain_tools.cpp
  view/troop_tools.cpp
  view/label_tool.cpp
  view/news_painter.cpp
  view/hq_overview_image.cpp
)

set(KV_UI_SOURCES
  framework/sound.cpp
  framework/window.cpp
  framework/message_box_prompter.cpp
  framework/japanese_collation.cpp
  framework/file_dialogs.cpp
  framework/bitmap_button.cpp
  framework/scroll_control.cpp
  framework/tree_view.cpp
  framework/tool_tips.cpp
  app/editor_app.cpp
  app/command_line.cpp
  app/main_frame.cpp
  app/main_frame_commands.cpp
  app/batch_dialog.cpp
  app/map_open_dialog.cpp
  app/menu_table.cpp
  app/menu_state.cpp
  app/tool_windows.cpp
  app/palette_window.cpp
  app/palette_factories.cpp
  app/tool_window.cpp
  app/terrain_palette.cpp
  app/border_palette.cpp
  app/mine_palette.cpp
  app/label_dialog.cpp
  app/troop_palette.cpp
  app/whole_map_dialogs.cpp
  app/underlay_dialog.cpp
  app/faction_colour_dialog.cpp
  app/troop_dialogs.cpp
  app/terrain_dialogs.cpp
  app/version_dialog.cpp
  app/text_fields.cpp
  app/picture_dialog.cpp
  app/rule_dialog.cpp
  app/victory_dialog.cpp
  app/map_settings_dialog.cpp
  app/rule_editor.cpp
  app/info_list.cpp
  app/info_windows.cpp
  app/weapon_windows.cpp
  app/product_type_editor.cpp
  app/scenario_dialog.cpp
  app/briefing_preview.cpp
  app/campaign_dialog.cpp
  app/link_diagram.cpp
  app/history_windows.cpp
  app/autosave.cpp
  app/script_dialog.cpp
  view/map_view.cpp
  view/map_view_messages.cpp
  app/combat_comparison_dialog.cpp
  app/hq_map_window.cpp
  app/building_count_window.cpp
)

# Scripting (QtQml's JavaScript engine over the core).
set(KV_SCRIPT_SOURCES
  script/script_runner.cpp
  script/script_map.cpp
  script/script_api.h
)

# The sample-data generator: the data writers (standard C++), the art writers (QtGui) and its main.
file(GLOB KV_SAMPLE_WRITER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sampledata/*.cpp)
list(FILTER KV_SAMPLE_WRITER_SOURCES EXCLUDE REGEX "/main\\.cpp$")
set(KV_SAMPLE_ART_SOURCES ${KV_SAMPLE_WRITER_SOURCES})
list(FILTER KV_SAMPLE_ART_SOURCES INCLUDE REGEX "/art[^/]*\\.cpp$")
list(FILTER KV_SAMPLE_WRITER_SOURCES EXCLUDE REGEX "/art[^/]*\\.cpp$")

set(KV_CLI_SOURCES
  cli/main.cpp
  cli/data_command.cpp
  cli/info_command.cpp
  cli/check_command.cpp
  cli/edit_commands.cpp
  cli/convert_command.cpp
  cli/export_command.cpp
  cli/campaign_command.cpp
  cli/texts_command.cpp
  cli/buildings_command.cpp
  cli/script_command.cpp
)
