-- Held A or Left: speeds the player up to the left, to the controller's top speed.
local Push = 8  -- times the controller's x_acc, per frame; friction takes half of it back

function main()
    local player = GetController(GetPlayerID())
    if player == nil or player.airSkillActive then
        return
    end
    player.facingRt = false
    player.x_vel = math.max(player.x_vel - player.x_acc * Push, -player.maxvelx)
end
