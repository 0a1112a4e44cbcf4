-- session.lua — the Ardour side of the real-host test, run by ardour7-lua.
--
-- ardour7-lua session.lua <phase> <work> <frames>, with the session in
-- <work>/hosttest, the driver's plans in <work> and the findings written to
-- <work>/<phase>.results as "key value" lines, which the driver
-- (check_in_ardour.py) judges.
--
--   create   a 48 kHz session with one stereo track per line of tracks.txt
--            ("<track> <plug-in>"): a silent region of <frames> frames without
--            fades (the driver then writes the test signal into its source
--            files) and the plug-in inserted before the fader; saved
--   bounce   for each line of bounces.txt ("<bounce> <track> [index=value]..."):
--            with values given, every parameter of the track's plug-in back
--            to its default and those set; a bounce of the region at the
--            plug-in's output; then the settings of final.txt and an
--            automation lane; saved
--   reload   the saved settings and automation, as the reloaded session has them;
--            then for each line of reload-bounces.txt, if there is one
--            ("<bounce> <track> [<from track>]"), a bounce as the reloaded
--            session plays it, with a preset of <from track> loaded first
--
-- BRISORA_PLUGIN_TYPE picks the plug-in format (LXVST unless it says LV2, whose
-- plug-ins are named by URI) and BRISORA_LANE the lane, "<index> <v1> <v2> <v3>"
-- in the parameter's own values (a VST 2 lane of output rotation unless set).

local phase, work, frames = arg[1], arg[2], tonumber(arg[3])
local name = "hosttest"
local dir = work .. "/" .. name
local results_path = work .. "/" .. phase .. ".results"
local results = assert(io.open(results_path, "w"))
local function result(key, value) results:write(key, " ", tostring(value), "\n"); results:flush() end

local function words(line)
  local list = {}
  for word in line:gmatch("%S+") do list[#list + 1] = word end
  return list
end

local function lines_of(file)
  local list = {}
  for line in io.lines(work .. "/" .. file) do
    if line:match("%S") then list[#list + 1] = words(line) end
  end
  return list
end

local function number_text(value) return string.format("%.9g", value) end
local plugin_type = ARDOUR.PluginType[os.getenv("BRISORA_PLUGIN_TYPE") or "LXVST"]

local function track_named(session, track_name)
  local route = session:route_by_name(track_name)
  assert(not route:isnil(), "no track " .. track_name)
  return route:to_track()
end

local function plugin_of(track) return track:nth_plugin(0) end

-- The region bounced at the plug-in's output; the driver reads the files.
local function bounce(track, processor, bounce_name)
  local region = track:bounce_range(0, frames, ARDOUR.InterThreadInfo(), processor, true, bounce_name)
  for channel = 0, 1 do
    result("bounce." .. bounce_name .. "." .. channel, region:source(channel):to_filesource():path())
  end
end

-- Every parameter of the plug-in back to the default it had when created.
local defaults = {}
local function reset_to_defaults(processor, track_name)
  local plugin = processor:to_insert():plugin(0)
  for index = 0, plugin:parameter_count() - 1 do
    ARDOUR.LuaAPI.set_processor_param(processor, index, defaults[track_name][index])
  end
end

local function remember_defaults(processor, track_name)
  local plugin = processor:to_insert():plugin(0)
  defaults[track_name] = {}
  for index = 0, plugin:parameter_count() - 1 do
    defaults[track_name][index] = ARDOUR.LuaAPI.get_processor_param(processor, index, true)
  end
end

local function apply_settings(processor, settings, first)
  for k = first, #settings do
    local index, value = settings[k]:match("^(%d+)=(.+)$")
    assert(ARDOUR.LuaAPI.set_processor_param(processor, tonumber(index), tonumber(value)),
           "parameter " .. index .. " refused " .. value)
  end
end

local function report_parameters(processor, prefix)
  local plugin = processor:to_insert():plugin(0)
  result(prefix .. ".count", plugin:parameter_count())
  for index = 0, plugin:parameter_count() - 1 do
    result(prefix .. "." .. index .. ".name", plugin:parameter_label(index))
    result(prefix .. "." .. index .. ".value", number_text(ARDOUR.LuaAPI.get_processor_param(processor, index, true)))
  end
end

-- The automation lane the bounce phase writes: output rotation over the region.
local lane = { index = 5, points = { { 0, 0.25 }, { 0.5, 0.75 }, { 1, 0.5 } } }
if os.getenv("BRISORA_LANE") then
  local given = words(os.getenv("BRISORA_LANE"))
  lane.index = tonumber(given[1])
  for k = 1, 3 do lane.points[k][2] = tonumber(given[k + 1]) end
end

local function report_lane(processor, prefix)
  local list, curve = ARDOUR.LuaAPI.plugin_automation(processor, lane.index)
  result(prefix .. ".lane.events", curve:size())
  local control = processor:to_automatable():automation_control(
    Evoral.Parameter(ARDOUR.AutomationType.PluginAutomation, 0, lane.index), false)
  result(prefix .. ".lane.state", control:automation_state() == ARDOUR.AutoState.Play and "play" or "other")
  for k, point in ipairs(lane.points) do
    local at = Temporal.timepos_t(math.floor(point[1] * (frames - 1)))
    result(prefix .. ".lane.at" .. k, number_text(curve:eval(at)))
  end
end

if phase == "create" then
  local session = create_session(dir, name, 48000)
  assert(session, "no session")
  for _, entry in ipairs(lines_of("tracks.txt")) do
    local track_name, plugin_name = entry[1], entry[2]
    local list = session:new_audio_track(2, 2, nil, 1, track_name, ARDOUR.PresentationInfo.max_order,
                                         ARDOUR.TrackMode.Normal, true)
    local track = list:front():to_track()
    -- Silence bounced into a region gives its source files; fades would shape
    -- the first and last 64 samples.
    local region = track:bounce_range(0, frames, ARDOUR.InterThreadInfo(), track:main_outs(), false, track_name)
    local audio = region:to_audioregion()
    audio:set_fade_in_active(false)
    audio:set_fade_out_active(false)
    track:playlist():add_region(region, Temporal.timepos_t(0), 1, false, 0, 0, false)
    for channel = 0, 1 do
      result("source." .. track_name .. "." .. channel, region:source(channel):to_filesource():path())
    end
    local processor = ARDOUR.LuaAPI.new_plugin(session, plugin_name, plugin_type, "")
    assert(not processor:isnil(), "Ardour did not create " .. plugin_name)
    -- Index 0 of the visible processors: before the fader.
    assert(track:add_processor_by_index(processor, 0, nil, true) == 0, "insert failed")
    result("plugin." .. track_name, processor:name())
  end
  session:save_state("", false, false, false, false, false)
  result("done", 1)
elseif phase == "bounce" then
  local session = load_session(dir, name)
  assert(session, "no session")
  for route in session:get_tracks():iter() do
    local processor = plugin_of(route:to_track())
    report_parameters(processor, "loaded." .. route:name())
    remember_defaults(processor, route:name())
  end
  for _, entry in ipairs(lines_of("bounces.txt")) do
    local bounce_name, track_name = entry[1], entry[2]
    local track = track_named(session, track_name)
    local processor = plugin_of(track)
    if #entry > 2 then
      reset_to_defaults(processor, track_name)
      apply_settings(processor, entry, 3)
    end
    bounce(track, processor, bounce_name)
  end
  for _, entry in ipairs(lines_of("final.txt")) do
    local processor = plugin_of(track_named(session, entry[1]))
    reset_to_defaults(processor, entry[1])
    apply_settings(processor, entry, 2)
    if entry[1] == "widefield" then
      local list, curve = ARDOUR.LuaAPI.plugin_automation(processor, lane.index)
      for _, point in ipairs(lane.points) do
        curve:add(Temporal.timepos_t(math.floor(point[1] * (frames - 1))), point[2], false, true)
      end
      processor:to_automatable():automation_control(
        Evoral.Parameter(ARDOUR.AutomationType.PluginAutomation, 0, lane.index), false)
        :set_automation_state(ARDOUR.AutoState.Play)
      report_lane(processor, "saved." .. entry[1])
    end
  end
  for route in session:get_tracks():iter() do
    report_parameters(plugin_of(route:to_track()), "saved." .. route:name())
  end
  session:save_state("", false, false, false, false, false)
  result("done", 1)
elseif phase == "reload" then
  local session = load_session(dir, name)
  assert(session, "no session")
  for route in session:get_tracks():iter() do
    local processor = plugin_of(route:to_track())
    report_parameters(processor, "reloaded." .. route:name())
    if route:name() == "widefield" then report_lane(processor, "reloaded." .. route:name()) end
  end
  if io.open(work .. "/reload-bounces.txt") then
    for _, entry in ipairs(lines_of("reload-bounces.txt")) do
      local track = track_named(session, entry[2])
      if entry[3] then
        -- First a preset that Ardour saves of entry[3]'s plug-in and loads into this one.
        local from = plugin_of(track_named(session, entry[3])):to_insert():plugin(0)
        assert(from:save_preset(entry[1]).valid, "Ardour saved no preset of " .. entry[3])
        local plugin = plugin_of(track):to_insert():plugin(0)
        assert(plugin:load_preset(plugin:preset_by_label(entry[1])), "Ardour did not load the preset")
      end
      bounce(track, plugin_of(track), entry[1])
    end
  end
  result("done", 1)
end
results:close()
