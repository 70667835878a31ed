-- Every frame (from the first level on): the player's picture follows what the player does:
-- standing, running, rising, falling or dashing, facing left or right. It also wakes the
-- heat map's chain when the player moves again after standing still, and counts the frames
-- the heat map's handler tells its chains apart by.
local tick = 0
local RunFrames = 6    -- frames per picture of the run
local IdleFrames = 30  -- frames per breath standing

function main()
    local id = GetPlayerID()
    local player = GetController(id)
    if player == nil then
        return
    end
    tick = tick + 1
    _G.PoseFrame = tick
    local pose
    if player.airSkillActive then
        pose = "Dash"
    elseif not player.isGrounded then
        pose = player.y_vel > 0 and "Jump" or "Fall"
    elseif math.abs(player.x_vel) > 20 then
        pose = "Run" .. (tick // RunFrames) % 4
    else
        pose = "Idle" .. (tick // IdleFrames) % 2
    end
    ChangeSprite(id, "Player" .. pose .. (player.facingRt and "R" or "L") .. ".png")
    if HeatTrailResting and not player.isDead and (math.abs(player.x_vel) > 0 or math.abs(player.y_vel) > 20) then
        _G.HeatTrailResting = false
        SpawnHeatMap()
    end
end
