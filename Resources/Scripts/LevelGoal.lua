-- "OnCollision" of the golden gate (GameObject is the gate): the player has finished the
-- level. The win stinger plays, the heat map of the way taken shows on the overview, and
-- the game moves on to the level-complete screen. The gate works once.
local function Box(id)
    local place = GetTransform(id)
    local body = GetRigidBody(id)
    if place == nil or body == nil then
        return nil
    end
    return place.x_pos + body.left, place.x_pos + body.right, place.y_pos + body.bottom, place.y_pos + body.top
end

local function Overlap(a, b)
    local aLeft, aRight, aBottom, aTop = Box(a)
    local bLeft, bRight, bBottom, bTop = Box(b)
    if aLeft == nil or bLeft == nil then
        return false
    end
    return aLeft <= bRight and bLeft <= aRight and aBottom <= bTop and bBottom <= aTop
end

function main()
    local id = GetPlayerID()
    local player = GetController(id)
    if player == nil or player.isDead or not Overlap(GameObject, id) then
        return
    end
    UnRegisterEvent("LevelGoal", "OnCollision", GameObject)
    PlayWinStinger()
    -- Heat points take the player's image when shown: a plain dot reads best from afar. The
    -- pose script puts the player's own image back.
    ChangeSprite(id, "HeatDot.png")
    ShowHeatMap()
    ChangeSprite(id, "PlayerIdle0R.png")
    local gate = GetTransform(GameObject)
    if gate ~= nil then
        ParticleBurst(gate.x_pos, gate.y_pos)
    end
    ChangeLevel()
end
