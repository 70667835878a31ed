-- The player's "Bottom Collision": standing on something gives the jump and both skills back.
function main()
    local player = GetController(GameObject)
    if player == nil then
        return
    end
    player.isGrounded = true
    player.airSkillSpent = false
    player.waterSkillSpent = false
end
