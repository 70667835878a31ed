-- The player's "Spawn HeatMap", raised by every level load and again 100 ms after each
-- heat point: drops a heat point where the player is, so the level-complete overview can
-- show the way taken. While the player stands still no point is dropped and the chain
-- rests; the pose script starts it again once the player moves. A level load also brings
-- the pose script in. A load raises the event while the last level's chain may still be
-- waiting on its 100 ms: the two would then drop twice the points, so a call that comes
-- within a few frames of the last point ends its chain and the other goes on.
local lastX, lastY = nil, nil
local lastFrame = nil
local Still = 10      -- moved less than this since the last point: standing still
local TooSoon = 5     -- frames; one chain's points are 6 frames apart

function main()
    RegisterEveryFrame("PlayerPose")
    local place = GetTransform(GameObject)
    if place == nil or GetController(GameObject) == nil then
        return
    end
    local frame = PoseFrame or 0  -- counted by the pose script
    if lastFrame ~= nil and frame >= lastFrame and frame - lastFrame < TooSoon then
        return
    end
    if lastX ~= nil and math.abs(place.x_pos - lastX) + math.abs(place.y_pos - lastY) < Still then
        _G.HeatTrailResting = true
        return
    end
    lastX, lastY = place.x_pos, place.y_pos
    lastFrame = frame
    _G.HeatTrailResting = false
    SpawnHeatMap()
end
