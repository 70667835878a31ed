-- "OnCollision" of the golden gate (GameObject is the gate): the player has finished the
-- level. The win stinger plays, the heat map of the way taken shows on the overview, and
-- the game moves on to the level-complete screen. The gate works once.
function main()
    local id = GetPlayerID()
    local player = GetController(id)
    if player == nil or player.isDead or not Touching(GameObject, id) then
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
