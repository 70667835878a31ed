-- The player's "Spawn HeatMap", raised by every level load and again 100 ms after each
-- heat point: drops a heat point where the player is, so the level-complete overview can
-- show the way taken. While the player stands still no point is dropped and the chain
-- rests; the pose script starts it again once the player moves. A level load also brings
-- the pose script in.
local lastX, lastY = nil, nil
local Still = 10  -- moved less than this since the last point: standing still

function main()
    RegisterEveryFrame("PlayerPose")
    local place = GetTransform(GameObject)
    if place == nil or GetController(GameObject) == nil then
        return
    end
    if lastX ~= nil and math.abs(place.x_pos - lastX) + math.abs(place.y_pos - lastY) < Still then
        _G.HeatTrailResting = true
        return
    end
    lastX, lastY = place.x_pos, place.y_pos
    _G.HeatTrailResting = false
    SpawnHeatMap()
end
