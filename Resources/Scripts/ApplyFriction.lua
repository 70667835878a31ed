-- Every frame: the player slows toward standing still. The run keys are queued after this
-- in the same frame, so a held key keeps the player at full speed; an air dash is not slowed.
local Slowdown = 4  -- times the controller's fric, per frame

function main()
    local player = GetController(GetPlayerID())
    if player == nil or player.airSkillActive then
        return
    end
    local step = player.fric * Slowdown
    if player.x_vel > step then
        player.x_vel = player.x_vel - step
    elseif player.x_vel < -step then
        player.x_vel = player.x_vel + step
    else
        player.x_vel = 0
    end
end
